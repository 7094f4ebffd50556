#!/usr/bin/env python3
"""The lunar calendar 1980-2100 from PyEphem, compared day by day.

An independent reckoning: PyEphem (libastro) finds the new moons and the
principal terms, converted to Japan Standard Time, and the calendar is derived
here by the rules alone: months begin on the JST date of a new moon, the month
holding the winter solstice is the 11th, and a leap month is the first month
after an 11th month without a principal term, only when 13 months begin
between one 11th month and the next.

usage: lunar_check.py GOT.tsv
GOT.tsv holds lines "YYYY-MM-DD<TAB>LUNAR<TAB>ROKUYO" for every day.
"""
import datetime
import math
import sys

import ephem

JST = datetime.timedelta(hours=9)
FIRST, LAST = datetime.date(1980, 1, 1), datetime.date(2100, 12, 31)
ROKUYO = ["大安", "赤口", "先勝", "友引", "先負", "仏滅"]
# New moons within the uncertainty of future Delta T: either JST date is
# accepted for the months they begin.
UNCERTAIN = [datetime.date(2074, 8, 22), datetime.date(2097, 1, 13)]


def jst_datetime(d):
    return ephem.Date(d).datetime() + JST


def new_moons(start, end):
    out = []
    d = ephem.Date(start)
    while True:
        d = ephem.next_new_moon(d)
        if ephem.Date(d).datetime() > end:
            return out
        out.append(jst_datetime(d))
        d = ephem.Date(d + 1)


def sun_longitude(d):
    sun = ephem.Sun()
    sun.compute(d)
    # Apparent geocentric place, true equator and equinox of date.
    ecl = ephem.Ecliptic(ephem.Equatorial(sun.g_ra, sun.g_dec, epoch=d), epoch=d)
    return math.degrees(ecl.lon)


def principal_terms(start, end):
    """(JST datetime, n) for every instant the longitude reaches 30 n."""
    out = []
    d = ephem.Date(start)
    step = 1.0
    lon = sun_longitude(d)
    while ephem.Date(d).datetime() < end:
        nxt = ephem.Date(d + step)
        nlon = sun_longitude(nxt)
        if math.floor(nlon / 30) != math.floor(lon / 30):
            target = math.floor(nlon / 30) * 30.0
            lo, hi = float(d), float(nxt)
            for _ in range(40):  # bisection to well under a second
                mid = (lo + hi) / 2
                diff = (sun_longitude(mid) - target + 180) % 360 - 180
                if diff < 0:
                    lo = mid
                else:
                    hi = mid
            out.append((jst_datetime(hi), int(target // 30) % 12))
        d, lon = nxt, nlon
    return out


def derive(month_starts, terms):
    """{date: (month, day, leap)} from the month starts and principal terms."""
    term_days = sorted((t.date(), n) for t, n in terms)
    solstices = [day for day, n in term_days if n == 9]

    def month_holding(day):
        return max(i for i, s in enumerate(month_starts) if s <= day)

    elevenths = [month_holding(day) for day in solstices]
    calendar = {}
    for a, b in zip(elevenths, elevenths[1:]):
        leap = None
        if b - a == 13:
            for i in range(a + 1, b):
                s, e = month_starts[i], month_starts[i + 1]
                if not any(s <= day < e for day, _ in term_days):
                    leap = i
                    break
        number = 11
        for i in range(a, b):
            is_leap = i == leap
            if i != a and not is_leap:
                number = number % 12 + 1
            day = month_starts[i]
            while day < month_starts[i + 1]:
                calendar[day] = (number, (day - month_starts[i]).days + 1, is_leap)
                day += datetime.timedelta(days=1)
    return calendar


def text(entry):
    month, day, leap = entry
    return ("閏" if leap else "") + "%d/%d" % (month, day), ROKUYO[(month + day) % 6]


def main():
    start, end = datetime.datetime(1978, 10, 1), datetime.datetime(2102, 3, 1)
    moons = new_moons(start, end)
    terms = principal_terms(start, end)
    starts = [m.date() for m in moons]
    calendars = [derive(starts, terms)]
    for uncertain in UNCERTAIN:
        for i, m in enumerate(moons):
            if m.date() == uncertain:
                other = list(starts)
                other[i] += datetime.timedelta(days=-1 if m.hour < 12 else 1)
                calendars.append(derive(other, terms))
                print("uncertain new moon %s JST, also %s accepted" % (m.isoformat(" ", "seconds"), other[i]))

    got = {}
    with open(sys.argv[1], encoding="utf-8") as f:
        for line in f:
            date, lunar, rokuyo = line.rstrip("\n").split("\t")
            got[datetime.date.fromisoformat(date)] = (lunar, rokuyo)

    failures = 0
    days = 0
    day = FIRST
    while day <= LAST:
        days += 1
        accepted = [text(c[day]) for c in calendars]
        if got.get(day) not in accepted:
            failures += 1
            if failures <= 20:
                print("FAIL %s: sorvane-cal %s, PyEphem %s" % (day, got.get(day), accepted[0]))
        day += datetime.timedelta(days=1)
    print("lunar calendar: %d days 1980-2100 compared, %d differ" % (days, failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
