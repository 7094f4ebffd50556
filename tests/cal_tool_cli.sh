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

# WAREKI=1 (or 2) writes the era year of the month's first day in show's
# first line; --tsv is the same with any settings. A leap month's lunar date.
printf '[Sorvane]\r\nDATADIR=data\r\nWAREKI=1\r\n' > wareki.ini
printf '[Sorvane]\r\nDATADIR=data\r\nWAREKI=2\r\n' > wareki2.ini
for case in "2019 5 wareki.ini 令和元年5月" "2019 4 wareki.ini 平成31年4月" "1989 1 wareki2.ini 昭和64年1月" \
            "1990 1 wareki.ini 平成2年1月" "2026 12 wareki.ini 令和8年12月" "2019 5 none.ini 2019年5月"; do
  set -- $case
  cal show "$1" "$2" --ini "$3" --data data > era.txt
  checks=$((checks + 1))
  [ "$(head -n 1 era.txt)" = "           $4" ] || fail "show $1 $2 with $3: $(head -n 1 era.txt)"
done
cal show --tsv 2004 12 --ini wareki.ini > tsv3.txt
checks=$((checks + 1))
[ "$(cut -f8-9 tsv.txt)" = "$(cut -f8-9 tsv3.txt)" ] || fail "--tsv does not depend on WAREKI"
cal show --tsv 2033 12 --ini none.ini --data data > leap.txt
check_golden leap.txt show-tsv-203312.txt "show --tsv of a leap month"

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
            "show 2004 12 --nope" "show 2004 12 --ini" "show 2004 12x" "show 2004x 12" \
            "set-memo 2004 12 5abc x" "set-memo 2004 12 5 --color 12x x"; do
  # shellcheck disable=SC2086
  cal $args > out.txt 2> err.txt
  check_status 2 $? "'$args'"
  grep -q '^usage:' err.txt || fail "'$args' prints the usage"
done
cal set-memo 2004 2 29 leap --ini test.ini
check_status 0 $? "29 February of a leap year"

# A "__#" anywhere in the bytes is refused, also where its first '_' is the
# second byte of a double-byte character ("ダ" is 0x83 0x5F): the reader
# finds markers byte by byte.
before=$(xxd data/200412.dat)
cal set-memo 2004 12 1 'ダ_#05#__' --ini test.ini 2> err.txt
check_status 1 $? "a marker behind a double-byte character"
cal set-memo 2004 12 1 'ダ_#07#__00000255' --ini test.ini 2> err.txt
check_status 1 $? "a whole day header behind a double-byte character"
printf 'a\0b' | cal set-memo 2004 12 1 - --ini test.ini 2> err.txt
check_status 1 $? "text holding a NUL byte"
checks=$((checks + 1))
[ "$before" = "$(xxd data/200412.dat)" ] || fail "refused writes changed the file"

# Reads that cannot be done are failures, not empty months.
cal show 2004 12 --data nowhere > out.txt 2> err.txt
check_status 1 $? "show with a missing data directory"
cal show 2004 12 --data test.ini > out.txt 2> err.txt
check_status 1 $? "show with a plain file as data directory"
cal set-memo 2004 12 1 x --ini data > out.txt 2> err.txt
check_status 1 $? "--ini naming a folder"
mkdir data/200501.dat
cal show 2005 1 --ini test.ini > out.txt 2> err.txt
check_status 1 $? "show of a month whose file is a folder"
cal set-memo 2005 1 1 x --ini test.ini 2> err.txt
check_status 1 $? "set-memo of a month whose file is a folder"
cal set-memo 2005 2 1 x --ini test.ini 2> err.txt
check_status 0 $? "the next month saves after a failed one"
long=$(printf 'd%.0s' $(seq 1 250))
mkdir "$long"
cal show 2004 12 --data "$long" > out.txt 2> err.txt
check_status 1 $? "show of a month whose path is over 255 characters"

# Folder names ending in a byte of 0x5C in Shift_JIS (表, ソ), and names
# whose UTF-8 bytes fall in the Shift_JIS lead-byte ranges (日記), with and
# without a separator after them: the file lands inside the folder.
for name in 予定表 ソ 日記; do
  for sep in "" "/"; do
    rm -rf "$name" && mkdir "$name"
    cal set-memo 2004 12 3 "$name" --data "./$name$sep" --ini none.ini 2> err.txt
    check_status 0 $? "--data ./$name$sep"
    checks=$((checks + 1))
    [ -f "$name/200412.dat" ] || { fail "--data ./$name$sep: the file is not inside the folder"; ls -la; }
  done
done

# A month file the reader does not take in whole is kept before the first
# save replaces it, and the tool says so.
printf '\r\n__#02#__00000001\r\ntwo\0junk\r\n__#20#__00000001\r\ntwenty' > data/200603.dat
cp data/200603.dat original.dat
cal set-memo 2006 3 9 nine --ini test.ini 2> err.txt
check_status 0 $? "set-memo over a file with a NUL"
checks=$((checks + 1))
cmp -s original.dat data/200603.dat.1.bak || fail "the original bytes are kept in 200603.dat.1.bak"
grep -q '200603.dat.1.bak' err.txt || fail "the tool names the kept file"
cal set-memo 2006 3 10 ten --ini test.ini 2> err.txt
checks=$((checks + 1))
[ ! -e data/200603.dat.2.bak ] && [ ! -s err.txt ] || fail "a file the tool wrote itself is not kept again"

# Saves run under the month's lock file, which goes away afterwards; one
# that a killed save left behind does not stop the next.
: > data/200607.lck
cal set-memo 2006 7 1 one --ini test.ini 2> err.txt
check_status 0 $? "set-memo beside a lock file nobody holds"
checks=$((checks + 1))
[ ! -e data/200607.lck ] && [ -f data/200607.dat ] || fail "the abandoned lock was taken over and removed"

if [ -z "$emulator" ]; then
  # A lock held for the whole wait: the tool says so and writes nothing.
  printf '\r\n__#01#__00000001\r\nheld' > data/200608.dat
  : > data/200608.lck
  flock data/200608.lck sleep 4 &
  holder=$!
  sleep 0.3
  cal set-memo 2006 8 1 new --ini test.ini 2> err.txt
  check_status 1 $? "set-memo while another save holds the month's lock"
  grep -q 'another program is saving' err.txt || fail "the tool says the month is being saved"
  check_bytes data/200608.dat '\r\n__#01#__00000001\r\nheld' "a held lock leaves the file as it was"
  wait "$holder"
  # A named pipe in place of a month file or of the settings file is
  # refused at once instead of hanging the tool.
  mkfifo data/200604.dat fifo.ini
  timeout 10 "$tool" show 2006 4 --ini test.ini > out.txt 2> err.txt
  check_status 1 $? "show of a month whose file is a named pipe"
  timeout 10 "$tool" show 2006 4 --ini fifo.ini --data data > out.txt 2> err.txt
  check_status 1 $? "a named pipe as settings file"
  # A save through a symbolic link replaces the file the link points to.
  printf '\r\n__#01#__00000001\r\nold' > linked.dat
  ln -s ../linked.dat data/200605.dat
  cal set-memo 2006 5 1 new --ini test.ini
  checks=$((checks + 1))
  [ -L data/200605.dat ] && grep -q new linked.dat || fail "a save through a link keeps the link and writes its target"
else
  # An executable in a folder whose name Shift_JIS cannot hold still finds
  # its settings and writes where they say (through the short path).
  odd="folder😀"
  mkdir -p "$odd" odd-data
  cp "$tool" "$odd/sorvane-cal.exe"
  printf '[Sorvane]\r\nDATADIR=odd-data\r\n' > "$odd/sorvane-cal.ini"
  "$emulator" "$odd/sorvane-cal.exe" set-memo 2004 12 5 odd 2> err.txt
  check_status 0 $? "an executable in a folder Shift_JIS cannot name"
  checks=$((checks + 1))
  [ -f odd-data/200412.dat ] || fail "its settings were read and the memo written where they say"
fi

echo "cal_tool_cli: $checks checks, $failures failed"
# A failed check may report more than one line; never print a negative count.
echo "$((checks > failures ? checks - failures : 0)) passed, $failures failed"
[ "$failures" -eq 0 ]
