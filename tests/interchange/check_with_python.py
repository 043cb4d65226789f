#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# duxel-cli's vCard and iCalendar files read by independent readers (python3-vobject,
# python3-icalendar with dateutil's rrule): every name and number is there, the reminders
# expand to the days the diary rings on, and importing the files back gives the records again.
# With CASIO-SIM the telephone book is first received from the simulated diary.
# Usage: check_with_python.py DUXEL-CLI WORKDIR [CASIO-SIM]
import datetime as dt
import json
import os
import shutil
import subprocess
import sys
import time

import vobject
from icalendar import Calendar
from dateutil.rrule import rrulestr

cli, work = sys.argv[1], sys.argv[2]
shutil.rmtree(work, ignore_errors=True)
os.makedirs(work)
failures = []


def check(what, got, expected):
    if got != expected:
        failures.append(f"{what}: got {got!r}, expected {expected!r}")


def run(*args, ok=True):
    r = subprocess.run([cli, *args], capture_output=True, text=True)
    if ok and r.returncode != 0:
        sys.exit(f"duxel-cli {' '.join(args)} failed: {r.stderr}")
    return r


def t(y=-1, m=-1, d=-1, wd=-1, wk=-1, h=-1, mi=-1):
    return {"year": y, "month": m, "day": d, "weekday": wd, "week": wk, "hour": h, "minute": mi}


def fields(values, n):
    return values + [""] * (n - len(values))


modes = {
    "Telephone": [
        {"mark": 1, "fields": ["Zdeněk Nový", "+420 602 123 456", "Husova 5\r110 00 Praha 1", "",
                               "zdenek@example.cz", "", "a, b; c\\d", "", "poslední\rpole"]},
        {"mark": 0, "fields": fields(["Adam Černý", "603 000 111"], 9)},
        {"mark": 0, "fields": fields(["Žofie Šťastná", "+420 777 888 999", "", "Ř"], 9)},
    ],
    "BusinessCards": [
        {"mark": 0, "fields": ["Výroba s.r.o.", "Ing. Šárka Dvořáková", "+420 555 111 222",
                               "ředitelka", "obchodní oddělení", "P.O.Box 12", "Žižkova 7\rBrno",
                               "123456", "+420 555 111 223", "a", "", "", "", "", "patnácté"]},
    ],
    "Scheduler": [
        {"mark": 0, "start": t(2024, 3, 15, h=9, mi=30), "end": t(h=10, mi=45),
         "alarm": t(h=9, mi=15), "text": "Porada – oddělení\rvývoje"},
        {"mark": 1, "start": t(2024, 3, 20), "end": t(2024, 3, 22), "alarm": t(),
         "text": "Hory"},
    ],
    "ToDo": [
        {"mark": 0, "text": "Koupit mléko", "done": 0, "completed": t()},
        {"mark": 0, "text": "Zaplatit nájem", "done": 1, "completed": t(2023, 12, 31, h=23, mi=59)},
    ],
    "ReminderOne": [
        {"mark": 0, "weekday_pattern": 0, "pattern": t(m=12, d=24, h=18, mi=0), "text": "Štědrý den"},
        {"mark": 0, "weekday_pattern": 0, "pattern": t(d=31), "text": "Poslední v měsíci"},
        {"mark": 0, "weekday_pattern": 0, "pattern": t(m=2, d=29), "text": "Přestupný den"},
    ],
    "ReminderTwo": [
        {"mark": 0, "weekday_pattern": 1, "pattern": t(wd=3, wk=2, h=8, mi=0), "text": "Druhé úterý"},
        {"mark": 0, "weekday_pattern": 1, "pattern": t(m=11, wd=5, wk=0), "text": "Listopadové čtvrtky"},
        {"mark": 0, "weekday_pattern": 1, "pattern": t(wd=6, wk=5), "text": "Páté pátky"},
    ],
    "Memo": [{"mark": 0, "text": "Poznámka; s čárkou, a\rdruhým řádkem"}],
}
with open(f"{work}/doc.json", "w", encoding="utf-8") as f:
    json.dump({"modes": modes}, f, ensure_ascii=False)
run("build", f"{work}/doc.json", f"{work}/doc.dux")

# ---- vCard, both versions, read by vobject
for version in ("3.0", "4.0"):
    out = f"{work}/contacts-{version}.vcf"
    run("vcard", "export", f"{work}/doc.dux", "--out", out, "--version", version)
    with open(out, encoding="utf-8") as f:
        cards = list(vobject.readComponents(f.read()))
    check(f"{version} cards", len(cards), 4)
    for card, rec in zip(cards, modes["Telephone"] + modes["BusinessCards"]):
        fl = rec["fields"]
        card_mode = len(fl) == 15
        name, phone = (fl[1], fl[2]) if card_mode else (fl[0], fl[1])
        check(f"{version} FN", card.fn.value, name)
        check(f"{version} VERSION", card.version.value, version)
        tels = [tel.value for tel in card.contents.get("tel", [])]
        check(f"{version} TEL of {name}", tels, [p for p in (phone, fl[8] if card_mode else "") if p])
        notes = card.note.value.split("\n") if "note" in card.contents else []
        if name == "Zdeněk Nový":
            check("N", card.n.value.family, name)
            check("ADR", card.adr.value.street, "Husova 5\n110 00 Praha 1")
            check("NOTE", notes, ["Free_2: zdenek@example.cz", "Free_4: a, b; c\\d",
                                  "Free_6: poslední", "pole"])
            check("CATEGORIES", card.categories.value, ["Označeno"])
        if card_mode:
            check("ORG", card.org.value, ["Výroba s.r.o.", "obchodní oddělení"])
            check("TITLE", card.title.value, "ředitelka")
            check("ADR box", card.adr.value.box, "P.O.Box 12")
            check("card NOTE", notes, ["Dálnopis: 123456", "Free_1: a", "Free_6: patnácté"])

# ---- iCalendar, read by icalendar; reminders expanded by dateutil
ics = f"{work}/diary.ics"
run("ical", "export", f"{work}/doc.dux", "--out", ics, "--from", "2026-01-01")
with open(ics, "rb") as f:
    cal = Calendar.from_ical(f.read())
events = {str(c["SUMMARY"]): c for c in cal.walk() if c.name in ("VEVENT", "VTODO", "VJOURNAL")}
check("components", len(events), 11)
e = events["Porada – oddělení"]
check("timed start", e.decoded("DTSTART"), dt.datetime(2024, 3, 15, 9, 30))
check("timed start is floating", e.decoded("DTSTART").tzinfo, None)
check("timed end", e.decoded("DTEND"), dt.datetime(2024, 3, 15, 10, 45))
check("description", str(e["DESCRIPTION"]), "Porada – oddělení\nvývoje")
check("alarm", e.walk("VALARM")[0].decoded("TRIGGER"), dt.timedelta(minutes=-15))
e = events["Hory"]
check("all-day range", (e.decoded("DTSTART"), e.decoded("DTEND")), (dt.date(2024, 3, 20), dt.date(2024, 3, 23)))
check("mark", [str(c) for c in e["CATEGORIES"].cats], ["Označeno"])
e = events["Zaplatit nájem"]
# COMPLETED is the one time iCalendar wants in UTC: 23:59 in Prague is 22:59 UTC.
check("todo done", (str(e["STATUS"]), e.decoded("COMPLETED")),
      ("COMPLETED", dt.datetime(2023, 12, 31, 22, 59, tzinfo=dt.timezone.utc)))
check("todo open", str(events["Koupit mléko"]["STATUS"]), "NEEDS-ACTION")
check("journal", (events["Poznámka; s čárkou, a"].name, str(events["Poznámka; s čárkou, a"]["DESCRIPTION"])),
      ("VJOURNAL", "Poznámka; s čárkou, a\ndruhým řádkem"))

# The days the diary rings on, 2026 and 2027, written out from a calendar.
rings = {
    "Štědrý den": [dt.datetime(2026, 12, 24, 18, 0), dt.datetime(2027, 12, 24, 18, 0)],
    "Poslední v měsíci": [dt.date(2026, m, 31) for m in (1, 3, 5, 7, 8, 10, 12)] +
                         [dt.date(2027, m, 31) for m in (1, 3, 5, 7, 8, 10, 12)],
    "Přestupný den": [],
    "Druhé úterý": [dt.datetime(2026, m, d, 8, 0) for m, d in
                    ((1, 13), (2, 10), (3, 10), (4, 14), (5, 12), (6, 9), (7, 14), (8, 11), (9, 8),
                     (10, 13), (11, 10), (12, 8))] +
                   [dt.datetime(2027, m, d, 8, 0) for m, d in
                    ((1, 12), (2, 9), (3, 9), (4, 13), (5, 11), (6, 8), (7, 13), (8, 10), (9, 14),
                     (10, 12), (11, 9), (12, 14))],
    "Listopadové čtvrtky": [dt.date(2026, 11, d) for d in (5, 12, 19, 26)] +
                           [dt.date(2027, 11, d) for d in (4, 11, 18, 25)],
    "Páté pátky": [dt.date(2026, 1, 30), dt.date(2026, 5, 29), dt.date(2026, 7, 31), dt.date(2026, 10, 30),
                   dt.date(2027, 1, 29), dt.date(2027, 4, 30), dt.date(2027, 7, 30), dt.date(2027, 10, 29),
                   dt.date(2027, 12, 31)],
}
for name, expected in rings.items():
    e = events[name]
    start = e.decoded("DTSTART")
    rule = rrulestr(e["RRULE"].to_ical().decode(), dtstart=start if isinstance(start, dt.datetime)
                    else dt.datetime.combine(start, dt.time()))
    got = rule.between(dt.datetime(2026, 1, 1), dt.datetime(2027, 12, 31, 23, 59), inc=True)
    if not isinstance(start, dt.datetime):
        got = [g.date() for g in got]
    check(f"rings of {name}", got, expected)
leap = events["Přestupný den"]
check("leap day first", leap.decoded("DTSTART"), dt.date(2028, 2, 29))

# ---- back into a new document: the same records
run("vcard", "export", f"{work}/doc.dux", "--out", f"{work}/phones.vcf", "--modes", "Telephone")
run("vcard", "export", f"{work}/doc.dux", "--out", f"{work}/cards.vcf", "--modes", "BusinessCards",
    "--version", "4.0")
run("vcard", "import", f"{work}/back.dux", "--in", f"{work}/phones.vcf")
run("vcard", "import", f"{work}/cards.dux", "--in", f"{work}/cards.vcf", "--mode", "BusinessCards")
run("ical", "import", f"{work}/back.dux", "--in", ics)
back = json.loads(run("dump", f"{work}/back.dux").stdout)["modes"]
for mode in ("Scheduler", "ToDo", "ReminderOne", "ReminderTwo", "Memo"):
    check(f"{mode} back", sorted(json.dumps(r, sort_keys=True) for r in back[mode]),
          sorted(json.dumps(r, sort_keys=True) for r in modes[mode]))
check("Telephone back", sorted(map(json.dumps, back["Telephone"])), sorted(map(json.dumps, modes["Telephone"])))
cards = json.loads(run("dump", f"{work}/cards.dux").stdout)["modes"]["BusinessCards"]
check("BusinessCards back", cards, modes["BusinessCards"])

# ---- a telephone book received from the diary (casio-sim over a pseudo-terminal)
if len(sys.argv) > 3:
    pty = f"{work}/diary-pty"
    sim = subprocess.Popen([sys.argv[3], "--pty", pty, "transmit", f"{work}/doc.json"],
                           stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    for _ in range(100):
        if os.path.exists(pty):
            break
        time.sleep(0.05)
    run("receive", "--port", pty, "--out", f"{work}/received.dux", "--delay", "2", "--timeout", "30")
    sim.wait(timeout=30)
    run("vcard", "export", f"{work}/received.dux", "--out", f"{work}/received.vcf")
    got = json.loads(run("dump", f"{work}/received.dux").stdout)["modes"]
    with open(f"{work}/received.vcf", encoding="utf-8") as f:
        cards = list(vobject.readComponents(f.read()))
    held = [(r["fields"][0], r["fields"][1]) for r in got["Telephone"]] + \
           [(r["fields"][1], r["fields"][2]) for r in got["BusinessCards"]]
    check("received names and numbers", [(c.fn.value, c.tel.value) for c in cards], held)
    check("received entries", len(held), 4)

# ---- a malformed file: one line naming the file and line, the document untouched
with open(f"{work}/bad.vcf", "w") as f:
    f.write("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:ok\r\nTEL\r\nEND:VCARD\r\n")
before = open(f"{work}/back.dux", "rb").read()
r = run("vcard", "import", f"{work}/back.dux", "--in", f"{work}/bad.vcf", ok=False)
check("malformed exit", r.returncode, 1)
check("malformed message", r.stderr,
      f"duxel-cli: {work}/bad.vcf:4: the content line of TEL has no \":\" before its value; nothing was imported\n")
check("document untouched", open(f"{work}/back.dux", "rb").read() == before, True)

for line in failures:
    print("FAIL", line)
print(f"{0 if failures else 1} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
