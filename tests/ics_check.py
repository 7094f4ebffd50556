"""Checks an iCalendar export with a real parser (Debian's python3-icalendar)
and the octet rules a parser forgives: CR LF everywhere, physical lines of
at most 75 octets, no UTF-8 sequence split by a fold.

usage: ics_check.py FILE EXPECTED.json
EXPECTED lists the events as [uid, date YYYYMMDD, summary, description or null].
"""
import json
import sys

from icalendar import Calendar


def main():
    raw = open(sys.argv[1], "rb").read()
    expected = json.load(open(sys.argv[2], encoding="utf-8"))
    problems = []
    if not raw.endswith(b"\r\n"):
        problems.append("the text does not end in CR LF")
    lines = raw.split(b"\r\n")[:-1]
    for number, line in enumerate(lines, 1):
        if b"\n" in line or b"\r" in line:
            problems.append(f"line {number}: a bare CR or LF")
        if len(line) > 75:
            problems.append(f"line {number}: {len(line)} octets")
        try:
            line.decode("utf-8")
        except UnicodeDecodeError:
            problems.append(f"line {number}: not whole UTF-8 (a fold split a character)")
    if not any(line.startswith(b" ") for line in lines):
        problems.append("no line was folded; the test data should force one")

    calendar = Calendar.from_ical(raw)
    if str(calendar.get("version")) != "2.0" or not calendar.get("prodid"):
        problems.append("VERSION or PRODID missing")
    got = []
    for event in calendar.walk("VEVENT"):
        start = event.get("dtstart")
        if start is None or start.params.get("VALUE") != "DATE" or hasattr(start.dt, "hour"):
            problems.append(f"{event.get('uid')}: DTSTART is not an all-day date")
            continue
        if event.get("dtstamp") is None:
            problems.append(f"{event.get('uid')}: no DTSTAMP")
        end = event.get("dtend").dt
        if (end - start.dt).days != 1:
            problems.append(f"{event.get('uid')}: the event is not one day long")
        description = event.get("description")
        got.append([str(event.get("uid")), start.dt.strftime("%Y%m%d"), str(event.get("summary")),
                    None if description is None else str(description)])
    if got != expected:
        problems.append("events differ:\n  got      %s\n  expected %s" % (
            json.dumps(got, ensure_ascii=False), json.dumps(expected, ensure_ascii=False)))
    for problem in problems:
        print("FAIL: " + problem)
    print(f"ics: {len(got)} events, {len(lines)} lines checked")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
