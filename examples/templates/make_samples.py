#!/usr/bin/env python3
"""Writes the sample report's templates into the folder given as the only argument."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from docx_writer import write_docx  # noqa: E402

TEMPLATES = {
    # Page 1: the covering letter, text fields only.
    "sample_cover.docx": [
        ("p", "御見積書"),
        ("p", "#customer# 御中"),
        ("p", "発行日: #date#"),
        ("p", "御見積金額: #total# 円"),
        ("p", "備考: #note#"),
    ],
    # Page 2: the item table; row 1 is the header, rows 2 to 5 receive the items.
    "sample_items.docx": [
        ("p", "明細 (#period#)"),
        ("table", [["品名", "数量", "単価"], ["", "", ""], ["", "", ""], ["", "", ""],
                   ["", "", ""]]),
    ],
    # Page 3: a picture in place of a field.
    "sample_photo.docx": [
        ("p", "製品写真"),
        ("p", "#photo#"),
        ("p", "撮影: #photographer#"),
    ],
    # Page 4: a memo whose fields stand in text boxes.
    "sample_memo.docx": [
        ("p", "連絡欄"),
        ("textbox", "担当: #staff#"),
        ("textbox", "連絡先: #phone#"),
    ],
}


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, blocks in TEMPLATES.items():
        write_docx(os.path.join(out, name), blocks)


if __name__ == "__main__":
    main()
