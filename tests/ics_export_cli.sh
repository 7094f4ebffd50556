#!/usr/bin/env bash
# sorvane-cal export --ics end to end: memos and holidays written by the
# tool itself, exported, then read back by Python's icalendar (Debian's
# python3-icalendar, under the system's own Python).
# usage: ics_export_cli.sh TOOL WORKDIR CHECKER [EMULATOR]
set -u
tool=$1 work=$2 checker=$3 emulator=${4:-}
python=/usr/bin/python3
rm -rf "$work" && mkdir -p "$work/data" && cd "$work" || exit 1
failures=0 checks=0
cal() { ${emulator:+"$emulator"} "$tool" "$@"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

printf '[Sorvane]\r\nDATADIR=data\r\nHOLIDAY_LAW=1\r\n[HOLIDAY]\r\n1224=イブ, 前夜||1\r\n' | iconv -f UTF-8 -t CP932 > test.ini

# Commas, semicolons and backslashes; "表" and "ソ" end in the byte 5C in
# Shift_JIS and must not be taken for backslashes; a long Japanese line to
# fold; a memo of several lines; a month memo, which is no day event.
cal set-memo 2026 12 24 --ini test.ini 'パーティー, 19時; 会費\1000円'
printf '表示ソフトの打ち合わせ\n資料: 第一版、第二版、第三版、第四版、第五版、第六版、第七版\n' | cal set-memo 2026 12 31 - --ini test.ini
cal set-memo 2027 1 4 --ini test.ini 'abc'
cal set-month-memo 2026 12 '月のメモ' --ini test.ini

cal export --ics 202612 202701 --holidays --ini test.ini > out.ics
checks=$((checks + 1))
[ $? -eq 0 ] || fail "export"
cat > expected.json <<'JSON'
[["20261224-holiday@sorvane", "20261224", "イブ, 前夜", null],
 ["20261224-memo@sorvane", "20261224", "パーティー, 19時; 会費\\1000円", "パーティー, 19時; 会費\\1000円"],
 ["20261231-memo@sorvane", "20261231", "表示ソフトの打ち合わせ", "表示ソフトの打ち合わせ\n資料: 第一版、第二版、第三版、第四版、第五版、第六版、第七版\n"],
 ["20270101-holiday@sorvane", "20270101", "元日", null],
 ["20270104-memo@sorvane", "20270104", "abc", "abc"],
 ["20270111-holiday@sorvane", "20270111", "成人の日", null]]
JSON
checks=$((checks + 1))
"$python" "$checker" out.ics expected.json || fail "the export does not read back as written"

# The escapes as the text holds them.
checks=$((checks + 1))
grep -q 'SUMMARY:パーティー\\, 19時\\; 会費\\\\1000円' out.ics || fail "commas, semicolons and backslashes escaped"

# Without --holidays only the memos; a second export has the same events
# (only DTSTAMP may differ), so a re-import updates them.
cal export --ics 202612 202701 --ini test.ini > memos.ics
checks=$((checks + 1))
[ "$(grep -c '^UID:' memos.ics)" -eq 3 ] && ! grep -q 'holiday@' memos.ics || fail "without --holidays: memos only"
cal export --ics 202612 202701 --holidays --ini test.ini > again.ics
checks=$((checks + 1))
[ "$(grep -v '^DTSTAMP' out.ics)" = "$(grep -v '^DTSTAMP' again.ics)" ] || fail "a second export differs"

# Bad arguments: usage and exit code 2, nothing on standard output.
for args in "export 202612 202701" "export --ics 202612" "export --ics 197912 198001" "export --ics 202613 202701" \
            "export --ics 202701 202612" "export --ics 20261 202701" "export --ics 202612 2027011" \
            "show --ics 2026 12" "set-memo 2026 12 1 --holidays x"; do
  # shellcheck disable=SC2086
  cal $args --ini test.ini > out.txt 2> err.txt
  status=$?
  checks=$((checks + 1))
  [ "$status" -eq 2 ] && [ ! -s out.txt ] || fail "'$args': exit $status, expected 2 and no output"
done

echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
