#!/usr/bin/env python3
"""Writes examples/sample.klt: a year of invented pupils and marks, in CP932 as the program saves."""
import random
from pathlib import Path

SURNAMES = ["佐藤", "鈴木", "高橋", "田中", "伊藤", "渡辺", "山本", "中村", "小林", "加藤",
            "吉田", "山田", "佐々木", "山口", "松本", "井上", "木村", "林", "斎藤", "清水",
            "山崎", "森", "池田", "橋本", "阿部", "石川", "山下", "中島", "石井", "小川",
            "前田", "岡田", "長谷川", "藤田", "後藤", "近藤", "村上", "遠藤", "青木", "坂本",
            "髙橋", "福田", "太田", "西村", "藤井", "金子", "岡本", "藤原", "中野", "三浦"]
GIVEN = ["太郎", "花子", "翔太", "美咲", "健太", "陽菜", "大輝", "結衣", "蓮", "葵",
         "悠斗", "さくら", "颯太", "凛", "湊", "芽依", "陸", "心春", "樹", "彩花",
         "大和", "七海", "海斗", "真央", "拓海", "莉子", "直樹", "優奈", "航", "千尋"]
KANA = ["ｻﾄｳ ﾀﾛｳ", "ｽｽﾞｷ ﾊﾅｺ", "ﾀﾅｶ ｹﾝﾀ", "ﾔﾏﾀﾞ ﾕｲ", "ｺﾊﾞﾔｼ ﾘｸ", "ﾏﾂﾓﾄ ｱｵｲ"]
SUBJECTS = ["国語", "数学", "英語", "理科", "社会"]
COLUMNS = 20  # name column and 19 items, as a new sheet has


def main() -> None:
    rng = random.Random(2026)
    header = ["氏  名"] + SUBJECTS + [chr(ord("A") + c) for c in range(len(SUBJECTS), COLUMNS - 1)]
    rows = [header]
    for n in range(20):
        pupils = rng.randint(32, 40)
        for p in range(1, 51):
            row = [""] * COLUMNS
            if p <= pupils:
                if rng.random() < 0.06:
                    row[0] = rng.choice(KANA)
                else:
                    row[0] = f"{rng.choice(SURNAMES)} {rng.choice(GIVEN)}"
                for s in range(len(SUBJECTS)):
                    if rng.random() < 0.03:
                        continue  # absent for this test
                    mark = max(0, min(100, round(rng.gauss(64 + 3 * s, 15))))
                    row[1 + s] = str(mark)
            rows.append(row)
        rows.append([""] * COLUMNS)  # class total
        rows.append([""] * COLUMNS)  # class average
    rows.append([""] * COLUMNS)  # year total
    rows.append([""] * COLUMNS)  # year average
    # The last row with a name or a mark ends the file, as the program writes it.
    last = max(i for i, row in enumerate(rows) if any(row))
    text = "".join("\t".join(row) + "\r\n" for row in rows[: last + 1]) + "\r\n"
    out = Path(__file__).resolve().parent.parent / "examples" / "sample.klt"
    out.write_bytes(text.encode("cp932"))


if __name__ == "__main__":
    main()
