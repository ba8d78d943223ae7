#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into fuzz/corpus/<target>/ (run from anywhere).

The seeds are committed; this script documents how each was made and remakes them all. Old
seed files in the three folders are removed first. The large exclusion-list input is not a seed:
make_big_exclusion_list makes it at run time.
"""
import os
import shutil
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus")

BOUNDARIES = [b"2147483647", b"2147483648", b"-2147483648", b"-2147483649", b"4294967295",
              b"4294967296", b"-0", b"+0", b"99999999999999999999", b"000000000000000000002147483647"]


def wide(*units):
    """UTF-16 code units as the settings target reads them: 0xFF, high byte, low byte."""
    return b"".join(bytes([0xFF, u >> 8, u & 0xFF]) for u in units)


def settings_value():
    seeds = {
        "empty": b"",
        "zero": b"0",
        "plus": b"+5",
        "minus": b"-5",
        "sign_only_minus": b"-",
        "sign_only_plus": b"+",
        "double_sign": b"--1",
        "plus_minus": b"+-1",
        "leading_blanks": b" \t  42",
        "blanks_only": b" \t ",
        "blank_after_sign": b"- 1",
        "trailing_blank": b"42 ",
        "trailing_tab": b"42\t",
        "inner_blank": b"4 2",
        "trailing_letter": b"42a",
        "hex_dollar": b"$1F",
        "hex_x": b"x1f",
        "hex_X": b"X1F",
        "hex_0x": b"0x1f",
        "hex_0X": b"0X1F",
        "hex_prefix_only_dollar": b"$",
        "hex_prefix_only_x": b"x",
        "hex_prefix_only_0x": b"0x",
        "hex_prefix_only_0X": b"0X",
        "hex_negative": b"-$1",
        "hex_plus_sign": b"+0x80000000",
        "hex_leading_zeros": b"$00000000000000000001",
        "hex_sign_after_prefix": b"0x-1",
        "hex_blank_after_prefix": b"$ 1",
        "hex_bad_digit": b"$1G",
        "hex_double_prefix": b"0x0x1",
        "hex_dollar_x": b"$x1",
        "hex_max": b"$FFFFFFFF",
        "hex_over": b"$100000000",
        "hex_int_max": b"$7FFFFFFF",
        "hex_int_min": b"0x80000000",
        "hex_minus_int_min": b"-$80000000",
        "hex_lower": b"0xdeadbeef",
        "decimal_leading_zeros": b"0000042",
        "decimal_with_x_inside": b"00x1",
        "nul_only": b"\x00",
        "nul_after_digit": b"1\x00",
        "nul_before_digit": b"\x001",
        "lone_cr": b"1\r",
        "lone_lf": b"\n1",
        "cr_lf": b"1\r\n",
        "lf_cr": b"1\n\r",
        "sjis_lead_byte_only": b"\x81",
        "sjis_bad_trail": b"\x81\x7f1",
        "sjis_high_bytes": b"\xfd\xfe\xff",
        "sjis_backslash_trail": b"\x83\x5c",
        "fullwidth_digits": wide(0xFF11, 0xFF12),
        "fullwidth_minus": wide(0xFF0D) + b"1",
        "ideographic_space": wide(0x3000) + b"1",
        "byte_order_mark": wide(0xFEFF) + b"1",
        "lone_surrogate": wide(0xD800) + b"1",
        "arabic_indic_digit": wide(0x0661),
        "nbsp": wide(0x00A0) + b"1",
        "digit_plus_65536": wide(0x0031 + 0x0100) + b"1",
        "limit_blanks_cut_digits": b" " * 2045 + b"12345",
        "limit_blanks_cut_all": b" " * 2047 + b"7",
        "limit_zeros_cut": b"0" * 2046 + b"12",
        "limit_hex_zeros_cut": b"$" + b"0" * 2045 + b"FFFF",
        "limit_garbage_after": b"1" + b" " * 2046 + b"x",
        "long_digits": b"1" + b"0" * 4999,
    }
    for i, value in enumerate(BOUNDARIES):
        seeds["boundary_%02d" % i] = value
        seeds["boundary_%02d_blanks" % i] = b"  " + value
    return seeds


def exclusion_list():
    return {
        "empty": b"",
        "nul_only": b"\x00",
        "nul_in_line": b"Notepad\x00Edit\r\nButton",
        "nul_after_line_end": b"A\r\n\x00B\r\n",
        "nuls": b"\x00\x00\r\n\x00",
        "lone_cr": b"\r",
        "lone_lf": b"\n",
        "cr_lf": b"\r\n",
        "cr_after_lf": b"A\n\rB",
        "cr_cr_lf": b"A\r\r\nB",
        "lf_cr_at_end": b"A\n\r",
        "cr_at_end": b"A\r",
        "empty_lines": b"\r\n\r\n\n\n\r\r",
        "mixed_ends": b"A\r\nB\rC\nD\n\rE",
        "blanks": b" Notepad \r\n\tEdit\t\r\n   ",
        "sjis_valid": b"\x83\x5c\x83\x74\x83\x67\r\n\x95\x5c",
        "sjis_lead_then_cr": b"\x81\r\n\x82\n",
        "sjis_invalid": b"\x81\x7f\xfd\xfe\xff\xa0\x80",
        "utf8_bom": b"\xef\xbb\xbfNotepad\r\n",
        "class_names": b"Notepad\r\nCabinetWClass\r\n#32770\r\nShell_TrayWnd\r\n",
        "long_line_100000": b"A" * 100000,
        "long_line_then_short": b"B" * 5000 + b"\r\nC\r\n",
    }


NAME_POOL, NAME_NEW, NAME_TEXT, NAME_FLIP = 0, 1, 2, 3
APPEND, REMOVE, CONTAINS, VALUE_OF, FIRST_NAME, HANDLE, HEIGHT, RESTORE_ALL, ROUND_TRIP = range(9)


def le32(value):
    return struct.pack("<I", value & 0xFFFFFFFF)


def pool(index):
    return bytes([index * 4 + NAME_POOL])


def new(handle):
    return bytes([NAME_NEW]) + le32(handle)


def text(value):
    return bytes([NAME_TEXT, len(value)]) + value


def flip(index):
    return bytes([index * 4 + NAME_FLIP])


def raw_text(value):
    return bytes([len(value)]) + value


def fold_list():
    seeds = {
        "fold_three_restore_all": bytes([APPEND]) + new(0x00010010) + le32(600)
        + bytes([APPEND]) + new(0x00020020) + le32(300)
        + bytes([APPEND]) + new(0x7FFFFFFF) + le32(1)
        + bytes([FIRST_NAME, RESTORE_ALL, FIRST_NAME]),
        "fold_again_moves_last": bytes([APPEND]) + pool(1) + le32(100)
        + bytes([APPEND]) + pool(2) + le32(200)
        + bytes([APPEND]) + pool(1) + le32(-5)
        + bytes([VALUE_OF]) + pool(1) + bytes([FIRST_NAME, REMOVE]) + pool(2) + bytes([REMOVE]) + pool(2),
        "high_handles": bytes([APPEND]) + pool(4) + le32(1) + bytes([APPEND]) + pool(5) + le32(2)
        + bytes([CONTAINS]) + pool(4) + bytes([RESTORE_ALL]),
        "case_of_text_names": bytes([APPEND]) + text(b"abc") + le32(7) + bytes([CONTAINS]) + text(b"ABC")
        + bytes([VALUE_OF]) + flip(0) + bytes([REMOVE]) + flip(0),
        "names_with_equals": bytes([APPEND]) + text(b"1=2") + le32(3) + bytes([CONTAINS]) + text(b"1=2")
        + bytes([CONTAINS]) + text(b"1") + bytes([APPEND]) + text(b"") + le32(0) + bytes([RESTORE_ALL]),
        "textual_lookup": bytes([APPEND]) + new(123) + le32(9) + bytes([CONTAINS]) + text(b"0123")
        + bytes([CONTAINS]) + text(b"+123") + bytes([CONTAINS]) + text(b"123 "),
        "round_trips": bytes([ROUND_TRIP]) + le32(0) + bytes([ROUND_TRIP]) + le32(0x7FFFFFFF)
        + bytes([ROUND_TRIP]) + le32(0x80000000) + bytes([ROUND_TRIP]) + le32(0xFFFFFFFF),
    }
    texts = BOUNDARIES + [b"", b"+", b"-", b"0", b"007", b" 1", b"1 ", b"$FF", b"0x10", b"1\x00", b"\x00",
                          b"1\r", b"\n1", b"\x81\x5c", b"\xef\xbc\x91", b"--1", b"400",
                          b"$FFFFFFFF", b"$100000000", b"0xFFFFFFFF"]
    handles = b"".join(bytes([HANDLE]) + raw_text(t) for t in texts)
    heights = b"".join(bytes([HEIGHT]) + raw_text(t) for t in texts)
    seeds["handle_texts"] = handles
    seeds["height_texts"] = heights
    return seeds


def main():
    for name, seeds in (("settings_value", settings_value()), ("exclusion_list", exclusion_list()),
                        ("fold_list", fold_list())):
        folder = os.path.join(CORPUS, name)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        for seed, data in seeds.items():
            with open(os.path.join(folder, seed), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
