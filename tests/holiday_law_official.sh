#!/usr/bin/env bash
# The holidays of the law against the official list, every day 1980-2050:
# sorvane-cal shows each month with HOLIDAY_LAW=1 and an empty holiday
# section, and its public holidays must be exactly the list's days, with the
# same names. The list is the Cabinet Office's, as the npm package
# @holiday-jp/holiday_jp carries it; tools/setup.sh fetches it into a cache.
# usage: holiday_law_official.sh TOOL WORKDIR [EMULATOR]
set -u
tool=$1 work=$2 emulator=${3:-}
data="${SORVANE_CACHE:-/var/cache/sorvane}/holiday-data/node_modules/@holiday-jp/holiday_jp/lib/holidays.js"
if [ ! -f "$data" ]; then
  echo "FAIL: $data is missing; run tools/setup.sh"
  exit 1
fi
rm -rf "$work" && mkdir -p "$work/data" && cd "$work" || exit 1

# The list in the tool's words: substitute days are "振替休日" (the list
# adds the holiday they replace), citizens' holidays "国民の休日" (the list
# says "休日"), and the one-off days carry the names their laws gave them.
node -e '
const list = require(process.argv[1]);
const renamed = {
  "1989-02-24": "昭和天皇の大喪の礼",
  "1993-06-09": "皇太子徳仁親王の結婚の儀",
  "2019-05-01": "天皇の即位の日",
  "2019-10-14": "体育の日",
  "2019-10-22": "即位礼正殿の儀の行われる日",
};
for (const [date, h] of Object.entries(list)) {
  const year = +date.slice(0, 4);
  if (year < 1980 || year > 2050) continue;
  let name = renamed[date] || h.name;
  if (name.endsWith("振替休日")) name = "振替休日";
  if (name === "休日") name = "国民の休日";
  console.log(date + "\t" + name);
}' "$data" | sort > expected.txt

# A user holiday in the section must still show; a public entry must not.
printf '[Sorvane]\r\nHOLIDAY_LAW=1\r\n[HOLIDAY]\r\n1224=イブ||1\r\n1225=祝日ではない||0\r\n' \
  | iconv -f UTF-8 -t CP932 > law.ini

: > got.txt
: > user.txt
for year in $(seq 1980 2050); do
  for month in $(seq 1 12); do
    ${emulator:+"$emulator"} "$tool" show --tsv "$year" "$month" --ini law.ini --data data > month.txt \
      || { echo "FAIL: show $year $month"; exit 1; }
    awk -F'\t' -v y="$year" -v m="$month" '
      $1 !~ /^#/ && $3 == 1 { printf "%04d-%02d-%02d\t%s\n", y, m, $1, $4 >> "got.txt" }
      $1 !~ /^#/ && $3 == 2 { printf "%04d-%02d-%02d\t%s\n", y, m, $1, $4 >> "user.txt" }' month.txt
  done
done
sort -o got.txt got.txt

failures=0
if ! cmp -s expected.txt got.txt; then
  echo "FAIL: the law's holidays differ from the official list (< list, > sorvane-cal):"
  diff expected.txt got.txt | head -40
  failures=$((failures + 1))
fi
# Christmas Eve is a user holiday in every year where the law leaves it
# ordinary (from 1989 to 2018 it was the substitute of a Sunday 23rd).
user_days=$(wc -l < user.txt)
public_eves=$(grep -c -- '-12-24' expected.txt)
if [ "$user_days" -ne $((71 - public_eves)) ] || grep -qv -e $'-12-24\tイブ$' user.txt; then
  echo "FAIL: the user holiday 24 December shows on $user_days days, expected $((71 - public_eves))"
  failures=$((failures + 1))
fi
days=$(wc -l < expected.txt)
[ "$days" -gt 1000 ] || { echo "FAIL: the list holds only $days days"; failures=$((failures + 1)); }
echo "holiday law: $days official days 1980-2050 compared"
echo "$((2 - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
