# SPDX-License-Identifier: GPL-3.0-or-later
# A pyodbc client of the text driver: creates, fills and reads tables in both character sets
# and reads the files back with Python's csv module.
import csv
import os
import sys

import pyodbc

folder = sys.argv[1]
DRIVER = "{Duxel Text Driver (*.txt; *.csv)}"

ROWS = [
    ("Žluťoučký kůň", "úpěl ďábelské ódy"),
    ("comma, and \"quotes\"", "line\r\nbreak"),
    (" blanks ", ""),
    ("x" * 1000, "long values are sent in pieces"),
]

for charset, encoding in (("ANSI", "cp1250"), ("UTF8", "utf-8")):
    connection = pyodbc.connect(
        f"DRIVER={DRIVER};DEFAULTDIR={folder};CHARACTERSET={charset}")
    cursor = connection.cursor()
    table = f"py_{charset}.csv"
    cursor.execute(f"CREATE TABLE {table} (Name VARCHAR(255), Note VARCHAR(255))")
    cursor.executemany(f"INSERT INTO {table} (Name, Note) VALUES (?, ?)", ROWS)
    cursor.execute(f"INSERT INTO {table} VALUES (?, ?)", None, "null is written empty")

    expected = [list(r) for r in ROWS] + [["", "null is written empty"]]
    rows = [list(r) for r in cursor.execute(f"SELECT * FROM {table}").fetchall()]
    assert rows == expected, (charset, rows)
    assert [d[0] for d in cursor.description] == ["Name", "Note"], cursor.description
    notes = [r[0] for r in cursor.execute(f"SELECT Note FROM {table}").fetchall()]
    assert notes == [r[1] for r in expected], notes

    with open(os.path.join(folder, table), newline="", encoding=encoding) as f:
        read_back = list(csv.reader(f))
    assert read_back == [["Name", "Note"]] + expected, (charset, read_back)
    with open(os.path.join(folder, table), "rb") as f:
        assert f.read().endswith(b"\r\n")

    try:
        cursor.execute("SELECT * FROM missing.csv")
        raise AssertionError("a missing file was selected")
    except pyodbc.Error as error:
        assert error.args[0] == "42S02", error.args
    connection.commit()  # nothing to commit: every statement took effect at once
    cursor.execute(f"DROP TABLE {table}")
    assert not os.path.exists(os.path.join(folder, table))
    connection.close()

print("pyodbc client passed")
