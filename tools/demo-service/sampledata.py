"""The sample data the demo service hands out: holiday file, area directory, weather, news and pictures.

Everything is read from the JSON files in data/ beside this file; weather days are derived from the request's
date, so the forecast always starts today. Nothing here touches the network.
"""

import datetime
import hashlib
import json
import math
import os
import struct
import zlib

DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "data")


def load(name):
    with open(os.path.join(DATA, name), encoding="utf-8") as source:
        return json.load(source)


def to_json(value):
    return json.dumps(value, ensure_ascii=False).encode("utf-8")


# --- holiday file ------------------------------------------------------------------------------------------------


def holiday_db():
    """The holiday file as the calendar downloads it: rest, work and solar_terms only."""
    data = load("holiday.json")
    return to_json({name: data[name] for name in ("rest", "work", "solar_terms")})


# --- area directory ----------------------------------------------------------------------------------------------


class Areas:
    def __init__(self):
        data = load("areas.json")
        self.provinces = data["provinces"]
        self.cities = data["cities"]
        self.towns = data["towns"]

    def query(self, grade, code):
        """The list of one level as [[name, code], ...]; None for an unknown grade."""
        if grade == "province":
            return self.provinces
        if grade == "city":
            return self.cities.get(code, [])
        if grade == "town":
            return self.towns.get(code, [])
        return None

    def lineage(self, town_code):
        """The (province, city, town) pairs of a town code, or None when the code is not in the directory."""
        for province in self.provinces:
            for city in self.cities.get(province[1], []):
                for town in self.towns.get(city[1], []):
                    if town[1] == town_code:
                        return province, city, town
        return None


# --- weather -----------------------------------------------------------------------------------------------------


def draw(seed, *salt):
    """A stable number in [0, 1) for the seed and salt, the same on every run."""
    text = "/".join(str(part) for part in (seed,) + salt).encode("utf-8")
    return int.from_bytes(hashlib.sha256(text).digest()[:8], "big") / 2.0**64


class Weather:
    """Weather answers, normally the town's (or the located town's) conditions and forecast, or one of these
    variants, chosen through the service's control endpoint:

      error        a 500 whose JSON body is a whole answer for another town, as a stale cache might send
                   it: only a reader that looks at the state first ignores it
      wrong-type   a 200 whose top level is an array holding the answer
      truncated    a 200 with the answer cut off in the middle
      week-text    the weekday number sent as a string
      no-pm25      no air-quality member
      cold         a temperature of three characters ("-10")
      one-day      today only, no forecast days
    """

    VARIANTS = ("error", "wrong-type", "truncated", "week-text", "no-pm25", "cold", "one-day")
    # The town whose answer the error variant carries.
    ERROR_TOWN = "310115"

    def __init__(self, areas):
        self.areas = areas
        data = load("weather.json")
        self.located = data["located"]
        self.climate = data["climate"]
        self.conditions = data["conditions"]
        self.snow = data["snow"]
        self.winds = data["winds"]
        self.powers = data["powers"]

    def normals(self, province_code, day):
        climate = self.climate.get(province_code) or next(iter(self.climate.values()))
        month = day.month - 1
        # Interpolate towards the neighbouring month so the temperatures drift smoothly through a month.
        following = (month + 1) % 12
        share = (day.day - 1) / 31.0
        high = climate["high"][month] * (1 - share) + climate["high"][following] * share
        low = climate["low"][month] * (1 - share) + climate["low"][following] * share
        return high, low

    def condition(self, code, day, part):
        total = sum(c["weight"] for c in self.conditions)
        pick = draw(code, day.isoformat(), part, "sky") * total
        for candidate in self.conditions:
            pick -= candidate["weight"]
            if pick < 0:
                return candidate
        return self.conditions[-1]

    def part(self, code, province_code, day, part):
        high, low = self.normals(province_code, day)
        spread = draw(code, day.isoformat(), part, "temperature") * 6 - 3
        temperature = round((high if part == "day" else low) + spread)
        sky = self.condition(code, day, part)
        if sky.get("wet") and temperature <= 0:
            sky = self.snow
        wind = self.winds[int(draw(code, day.isoformat(), part, "wind") * len(self.winds))]
        power = self.powers[int(draw(code, day.isoformat(), part, "power") * len(self.powers))]
        return [sky["icon"], str(temperature), sky["info"], wind, power]

    def report(self, code, now, variant="normal"):
        """(status, body) of the weather answer for a town code (the located town when code is None) in the
        variant; None when the town is unknown."""
        answer = self.answer(self.ERROR_TOWN if variant == "error" else code, now)
        if answer is None:
            return None
        realtime = answer["realtime"]
        if variant == "week-text":
            realtime["week"] = str(realtime["week"])
        elif variant == "no-pm25":
            del answer["pm25"]
        elif variant == "cold":
            realtime["weather"]["temperature"] = "-10"
        elif variant == "one-day":
            answer["weather"] = answer["weather"][:1]
        body = to_json([answer] if variant == "wrong-type" else answer)
        if variant == "truncated":
            body = body[:len(body) // 2]
        return (500 if variant == "error" else 200), body

    def answer(self, code, now):
        """The weather answer for a town code (the located town when code is None); None when unknown."""
        lineage = self.areas.lineage(self.located if code is None else code)
        if lineage is None:
            return None
        province, city, town = lineage
        today = now.date()
        days = []
        for offset in range(5):
            day = today + datetime.timedelta(days=offset)
            info = {name: self.part(town[1], province[1], day, name) for name in ("day", "night")}
            if offset == 0:
                info["dawn"] = self.part(town[1], province[1], day, "dawn")
            days.append({"date": day.isoformat(), "info": info})
        high, low = self.normals(province[1], today)
        hour_share = math.sin(math.pi * max(0, min(now.hour - 6, 12)) / 12.0)
        current = self.part(town[1], province[1], today, "day" if 8 <= now.hour < 20 else "night")
        temperature = round(low + (high - low) * hour_share + draw(town[1], today.isoformat(), "now") * 2 - 1)
        pm25 = int(draw(town[1], today.isoformat(), "pm25") * 160) + 8
        return {
            "area": [province, city, town],
            "weather": days,
            "realtime": {
                "date": today.isoformat(),
                "time": now.strftime("%H:%M:%S"),
                "week": today.isoweekday(),
                "weather": {
                    "temperature": str(temperature),
                    "info": current[2],
                    "humidity": str(int(draw(town[1], today.isoformat(), "humidity") * 60) + 25),
                },
                "wind": {"direct": current[3], "power": current[4]},
            },
            "pm25": {"pm25": [pm25], "level": 1 + min(pm25 // 50, 5)},
        }


# --- news --------------------------------------------------------------------------------------------------------


class News:
    """The headlines in one of several variants, chosen through the service's control endpoint:

      three        the first three headlines (the default)
      five         all five: the widget keeps the first three
      errno        the three with "errno": 1, an answer the widget ignores
      empty-src    the three, the first without a picture address or a link
      not-objects  the first headline, a string, the second and the third: non-objects count toward three
      changing     three headlines starting one further on every request, so each refresh differs
      bad-picture  the three, the second's picture address answering 404 with a text page
      error        a 500 answer with a JSON error body

    "normal" is "three"; the service's own faults (a body that is not JSON among them) apply here as anywhere.
    """

    VARIANTS = ("three", "five", "errno", "empty-src", "not-objects", "changing", "bad-picture", "error")

    def __init__(self):
        self.items = load("news.json")["items"]
        self.pictures = {}
        self.served = 0

    def entry(self, base, item):
        return {"src": base + "/super/pic/" + item["picture"], "url": base + "/super/page/" + item["page"],
                "title": item["title"]}

    def listing(self, base, variant="normal"):
        """(status, answer) in the variant; addresses use base, the address the caller reached us under."""
        served = self.served
        self.served += 1
        if variant == "error":
            return 500, {"error": "news unavailable"}
        if variant == "five":
            chosen = self.items
        elif variant == "changing":
            chosen = [self.items[(served + k) % len(self.items)] for k in range(3)]
        else:
            chosen = self.items[:3]
        data = [self.entry(base, item) for item in chosen]
        if variant == "empty-src":
            data[0]["src"] = data[0]["url"] = ""
        elif variant == "bad-picture":
            data[1]["src"] = base + "/super/pic/missing.png"
        elif variant == "not-objects":
            data.insert(1, "not a headline")
        return 200, {"errno": 1 if variant == "errno" else 0, "data": data}

    def picture(self, name):
        for item in self.items:
            if item["picture"] == name:
                if name not in self.pictures:
                    self.pictures[name] = scene_png(item)
                return self.pictures[name]
        return None

    def page(self, name):
        for item in self.items:
            if item["page"] == name:
                text = "<!DOCTYPE html><meta charset=\"utf-8\"><title>{0}</title><h1>{0}</h1>".format(item["title"])
                return text.encode("utf-8")
        return None


PICTURE_WIDTH, PICTURE_HEIGHT = 272, 212


def scene_png(item):
    """A small landscape in the item's colours: a sky that darkens upwards, a sun and a rolling ground."""
    sky, ground, sun = item["sky"], item["ground"], item["sun"]
    sun_x, sun_y, sun_r = 196, 64, 24
    rows = []
    for y in range(PICTURE_HEIGHT):
        row = bytearray(b"\x00")
        fade = 0.55 + 0.45 * y / PICTURE_HEIGHT
        sky_row = bytes(min(255, int(c * fade)) for c in sky)
        for x in range(PICTURE_WIDTH):
            horizon = 150 + 14 * math.sin(x / 37.0) + 6 * math.sin(x / 11.0)
            if y >= horizon:
                shade = 1.0 - 0.35 * (y - horizon) / PICTURE_HEIGHT
                row += bytes(int(c * shade) for c in ground)
            elif (x - sun_x) ** 2 + (y - sun_y) ** 2 <= sun_r * sun_r:
                row += bytes(sun)
            else:
                row += sky_row
        rows.append(bytes(row))
    return png(PICTURE_WIDTH, PICTURE_HEIGHT, b"".join(rows))


def png(width, height, raw_rows):
    def chunk(kind, payload):
        body = kind + payload
        return struct.pack(">I", len(payload)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw_rows, 9)) + chunk(
        b"IEND", b"")
