#!/usr/bin/env bash
# sorvane-cal end to end: writes and reads real month files in a scratch
# directory and compares what it prints and writes with golden files.
# usage: cal_tool_cli.sh TOOL WORKDIR GOLDENDIR [EMULATOR]
set -u
tool=$1 work=$2 golden=$3 emulator=${4:-}
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
failures=0 checks=0

cal() { ${emulator:+"$emulator"} "$tool" "$@"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check_status() {  # expected actual what
  checks=$((checks + 1))
  [ "$1" = "$2" ] || fail "$3: exit code $2, expected $1"
}
check_bytes() {  # file expected-bytes(printf format) what
  checks=$((checks + 1))
  if ! cmp -s "$1" <(printf "$2"); then
    fail "$3"; echo "  got:"; xxd "$1" | head -20; echo "  expected:"; printf "$2" | xxd | head -20
  fi
}
check_golden() {  # file golden-name what
  checks=$((checks + 1))
  if ! cmp -s "$1" "$golden/$2"; then
    fail "$3 differs from $2"; diff "$golden/$2" "$1" | head -20
  fi
}

# Settings: a holiday list and the data directory, in Shift_JIS, CR LF.
printf '[Sorvane]\r\nDATADIR=data\r\n[HOLIDAY]\r\n1223=天皇誕生日||0\r\n1225=クリスマス||1\r\n[COLOR]\r\nMEMODEF=32768\r\n' \
  | iconv -f UTF-8 -t CP932 > test.ini
mkdir data

# The example month file: month memo "abc", the 5th "x" in red.
cal set-month-memo 2004 12 abc --ini test.ini
check_status 0 $? "set-month-memo"
cal set-memo --ini test.ini 2004 12 5 --color 255 x
check_status 0 $? "set-memo with options before and after"
check_bytes data/200412.dat '__#00#__\r\nabc\r\n__#05#__00000255\r\nx' "the documented 34-byte file"

# A new memo takes the standard memo colour; an existing one keeps its own.
cal set-memo 2004 12 24 'イブ' --ini test.ini
cal set-memo 2004 12 5 'x2' --ini test.ini
check_bytes data/200412.dat '__#00#__\r\nabc\r\n__#05#__00000255\r\nx2\r\n__#24#__00032768\r\n\x83\x43\x83\x75' \
  "default colours"

# Standard input, LF line ends stored as CR LF, Shift_JIS with '\' trail bytes.
printf '表示\nソフト\r\n' | cal set-memo 2004 12 31 - --ini test.ini
check_status 0 $? "set-memo from standard input"
cal show --tsv 2004 12 --ini test.ini > tsv.txt
check_status 0 $? "show --tsv"
check_golden tsv.txt show-tsv-200412.txt "show --tsv"
cal show 2004 12 --ini test.ini > show.txt
check_golden show.txt show-200412.txt "show"

# The data directory can be named directly, with or without a separator.
# (Without the settings file the holidays differ; the memo columns may not.)
cal show --tsv 2004 12 --data data/ --ini none.ini > tsv2.txt
checks=$((checks + 1))
[ "$(cut -f5-7 tsv.txt)" = "$(cut -f5-7 tsv2.txt)" ] || fail "--data names the same month files"

# Refusals leave the file untouched.
before=$(xxd data/200412.dat)
cal set-memo 2004 12 1 '😀' --ini test.ini 2> err.txt
check_status 1 $? "a character Shift_JIS cannot hold"
grep -q "Shift_JIS" err.txt || fail "the refusal says why"
cal set-memo 2004 12 1 $'a\n__#05#__x' --ini test.ini 2> err.txt
check_status 1 $? "text holding a block marker"
checks=$((checks + 1))
[ "$before" = "$(xxd data/200412.dat)" ] || fail "refused writes changed the file"

# Bad arguments: usage and exit code 2.
for args in "" "show" "show 2004" "show 1979 12" "show 2004 13" "show 2004 x" "set-memo 2004 2 30 x" \
            "set-memo 2005 2 29 x" "set-memo 2004 12 1 --color 16777216 x" "bogus 2004 12" \
            "show 2004 12 --nope" "show 2004 12 --ini"; do
  # shellcheck disable=SC2086
  cal $args > out.txt 2> err.txt
  check_status 2 $? "'$args'"
  grep -q '^usage:' err.txt || fail "'$args' prints the usage"
done
cal set-memo 2004 2 29 leap --ini test.ini
check_status 0 $? "29 February of a leap year"

echo "cal_tool_cli: $checks checks, $failures failed"
echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
