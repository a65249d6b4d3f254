#!/usr/bin/python3
"""Date getters from Python's zoneinfo, the peer of the script Date object.

  date_peer.py script        the script that prints every getter of each instant
  date_peer.py expect ZONE   what that script must print under TZ=ZONE
  date_peer.py common        a script for the subset duktape shares (1971 to 2037)

The instants are a seeded draw from 1900 to 2100 plus the daylight-saving changes of 2021
in the zones the tests use, each with its neighbours.
"""
import datetime
import random
import sys
import zoneinfo

ZONES = ["Asia/Tokyo", "America/New_York", "Europe/Berlin", "Asia/Kolkata", "UTC"]
EPOCH = datetime.datetime(1970, 1, 1, tzinfo=datetime.timezone.utc)
FORMAT = "yyyy-mm-dd hh:nn:ss.zzz"


def ms_of(dt):
    return (dt - EPOCH) // datetime.timedelta(milliseconds=1)


def changes_2021(zone):
    """The instants (ms) at which the zone's offset changes during 2021."""
    tz = zoneinfo.ZoneInfo(zone)
    out = []
    t = datetime.datetime(2021, 1, 1, tzinfo=datetime.timezone.utc)
    last = t.astimezone(tz).utcoffset()
    while t.year == 2021:
        t2 = t + datetime.timedelta(minutes=15)
        off = t2.astimezone(tz).utcoffset()
        if off != last:
            out.append(ms_of(t2))
            last = off
        t = t2
    return out


def instants(first_year=1900, last_year=2100, count=300):
    rng = random.Random(22)
    lo = ms_of(datetime.datetime(first_year, 1, 1, tzinfo=datetime.timezone.utc))
    hi = ms_of(datetime.datetime(last_year, 12, 31, 23, 59, 59, tzinfo=datetime.timezone.utc))
    out = [rng.randrange(lo, hi) for _ in range(count)]
    for zone in ZONES:
        for c in changes_2021(zone):
            out += [c - 1800000, c - 1, c, c + 1, c + 1800000]
    return out


def number(x):
    """A number as the script prints it (15 significant digits, no trailing zeros)."""
    if x == int(x):
        return str(int(x))
    return "%.15g" % x


def fields(dt):
    year = dt.year
    return [year, year - 1900 if year < 2000 else year, dt.month - 1, dt.day, (dt.weekday() + 1) % 7,
            dt.hour, dt.minute, dt.second, dt.microsecond // 1000]


def expect(zone):
    tz = zoneinfo.ZoneInfo(zone)
    for t in instants():
        utc = EPOCH + datetime.timedelta(milliseconds=t)
        local = utc.astimezone(tz)
        offset = -local.utcoffset().total_seconds() / 60
        text = "%04d-%02d-%02d %02d:%02d:%02d.%03d" % (local.year, local.month, local.day, local.hour,
                                                      local.minute, local.second, local.microsecond // 1000)
        print(" ".join([str(t)] + [str(v) for v in fields(local) + fields(utc)] + [number(offset), text]))


def script():
    getters = ["getFullYear", "getYear", "getMonth", "getDate", "getDay", "getHours", "getMinutes",
               "getSeconds", "getMilliseconds"]
    utc = [g.replace("get", "getUTC") for g in getters]
    print("var t = [" + ", ".join(str(t) for t in instants()) + "];")
    print("for (var i = 0; i < t.length; i++) {")
    print("  var d = new Date(t[i]);")
    print("  d.format = \"%s\";" % FORMAT)
    line = " + \" \" + ".join(["d.getTime()"] + ["d.%s()" % g for g in getters + utc] +
                              ["d.getTimezoneOffset()", "d.toString()"])
    print("  println(" + line + ");")
    print("}")


def common():
    """getHours, getTimezoneOffset, Date.UTC of three and more parts and getTime."""
    print("var t = [" + ", ".join(str(t) for t in instants(1971, 2037, 200)) + "];")
    print("for (var i = 0; i < t.length; i++) {")
    print("  var d = new Date(t[i]);")
    print("  var u = Date.UTC(2000 + i % 30, i % 12, 1 + i % 28, i % 24, i % 60);")
    print("  println(d.getTime() + \" \" + d.getHours() + \" \" + d.getTimezoneOffset() + \" \" + u + \" \""
          " + new Date(u).getUTCHours() + \" \" + Date.UTC(1999, 0, 31));")
    print("}")


if __name__ == "__main__":
    if sys.argv[1] == "script":
        script()
    elif sys.argv[1] == "common":
        common()
    else:
        expect(sys.argv[2])
