#pragma once
// The two astronomical quantities the lunisolar calendar rests on: the
// instants of new moon and the Sun's apparent longitude. Times are Julian
// days; "TT" marks terrestrial time, the rest is universal time.
//
// New moons follow the true-phase series of Meeus, "Astronomical
// Algorithms" (2nd ed., ch. 49: mean phase, 25 periodic terms and 14
// planetary arguments), good to well under 20 s from 1980 to 2100. The Sun
// follows the truncated VSOP87 series of the same book (ch. 25 and
// appendix III) with the 63-term nutation in longitude and the annual
// aberration, good to about one arcsecond, some 25 s of the Sun's motion.

// Julian day of 1970-01-01 00:00 UT: day numbers count from there.
constexpr double kJulianDayOfEpoch = 2440587.5;

// TT - UT in seconds for a (fractional) Gregorian year: the polynomials of
// Espenak and Meeus for 1900-2150, their parabola beyond.
double deltaTSeconds(double year);

// The instant (TT) of the new moon of lunation k; k = 0 is the new moon of
// 2000-01-06.
double newMoonTT(int k);

// The Sun's apparent geocentric longitude in degrees, 0 <= result < 360, at
// `julianDayTT`.
double apparentSolarLongitude(double julianDayTT);
// The same from the short series (good to 0.01 degree), enough wherever the
// longitude is not close to the boundary being asked about.
double approximateSolarLongitude(double julianDayTT);
