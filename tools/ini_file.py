"""Reads the ini files the installer writes (UTF-16 with a byte-order mark, or 8-bit text)."""
import configparser


def read_ini(path):
    """The file as a ConfigParser, names case-sensitive and values as written."""
    parser = configparser.ConfigParser(strict=False, interpolation=None)
    parser.optionxform = str
    with open(path, 'rb') as f:
        data = f.read()
    text = data.decode('utf-16') if data[:2] in (b'\xff\xfe', b'\xfe\xff') else data.decode('latin-1')
    parser.read_string(text)
    return parser
