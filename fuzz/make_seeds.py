#!/usr/bin/env python3
"""Writes the seed corpus of each fuzz target into fuzz/corpus/<target>/.

Each seed is a small story in the byte layout the target reads (see the
comment above LLVMFuzzerTestOneInput in each target). Run it again after
changing a layout; the files it writes are the committed seeds.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def i8(v): return struct.pack('<b', v)
def u8(v): return struct.pack('<B', v)
def i16(v): return struct.pack('<h', v)
def u16(v): return struct.pack('<H', v)
def i32(v): return struct.pack('<i', v)
def text(b): return u8(len(b)) + b


def options_record(rows=(), names=()):
    """rows: (row, column, workstation, warehouse); names: (row, bytes)."""
    record = bytearray(279)
    for row in range(9):
        record[261 + 2 * row:263 + 2 * row] = i16(-1)
    for row, column, workstation, warehouse in rows:
        record[29 * row + 17 + 4 * column:29 * row + 21 + 4 * column] = i32(workstation)
        record[261 + 2 * row:263 + 2 * row] = i16(warehouse)
    for row, name in names:
        record[29 * row:29 * row + len(name)] = name
    return bytes(record)


def write(target, name, data):
    folder = os.path.join(HERE, 'corpus', target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), 'wb') as out:
        out.write(data)


# ---- options_fuzz: flags, workstation, default, setting, current, mask, file
def options(flags, workstation, default, setting, current, mask, file):
    return u8(flags) + i32(workstation) + i16(default) + i16(setting) + i16(current) + mask + file

ZERO_MASK = bytes(13)
assigned = options_record([(2, 1, 7, 4), (5, 0, 7, 9)], [(0, b'Centrala'), (2, b'Hurtownia')])
write('options_fuzz', 'lock_assigned', options(3, 7, 3, 5, 2, ZERO_MASK, assigned))
write('options_fuzz', 'lock_short_file', options(3, 0, 1, 2, 0, ZERO_MASK, assigned[:100]))
write('options_fuzz', 'lock_no_file', options(2, 0, 1, 2, 0, bytes([0xFF] * 13), b''))
write('options_fuzz', 'lock_long_file', options(3, 12, 0, 0, 1, ZERO_MASK,
      options_record([(8, 2, 12, 150)]) + b'trailing bytes'))
write('options_fuzz', 'lock_negative_values', options(3, -1, -5, -2, -3, ZERO_MASK,
      options_record([(0, 0, -1, -1)])))
write('options_fuzz', 'form_ok', options(1 | 1 << 2, 0, 0, 0, 0, ZERO_MASK, assigned))
write('options_fuzz', 'form_cancel', options(1 | 2 << 2, 0, 0, 0, 0, ZERO_MASK, assigned[:200]))
write('options_fuzz', 'form_ok_no_name_end', options(1 | 1 << 2, 0, 0, 0, 0, ZERO_MASK,
      options_record([(1, 0, 3, 2)], [(1, b'A' * 29)])))


# ---- stock_fuzz
def item(number, quantity, barcode, unit, flags=0):
    return i16(number) + i32(quantity) + u8(flags) + text(barcode) + text(unit)


def item_file(warehouse, items, tail=0):
    return i8(warehouse) + u8(len(items)) + b''.join(items) + u8(tail)


def link(warehouse, number, barcode, flags=0):
    return i16(warehouse) + i16(number) + u8(flags) + text(barcode)


def definition(warehouse, name, unterminated=0):
    return u8(warehouse) + text(name) + u8(unterminated)


def stock(screen, current, item_no, cursor, files, links, definitions, key=None, missing=0):
    head = u8(screen | (0x80 if key is not None else 0)) + (i16(key) if key is not None else b'')
    head += i16(current) + i32(item_no) + i16(cursor)
    body = u8(len(files)) + b''.join(files)
    body += u8(0xFF) if links is None else u8(len(links[0])) + b''.join(links[0]) + u8(links[1])
    body += u8(len(definitions)) + b''.join(definitions) + u8(missing)
    return head + body

CODE = b'5901234123457'
common_files = [
    item_file(0, [item(1, 1000, CODE, b'szt.'), item(2, 500, b'111', b'kg')]),
    item_file(1, [item(5, 2500, CODE, b'szt.')]),
    item_file(2, [item(1, -300, CODE, b'szt.'), item(2, 7, CODE, b'opak.')]),
    item_file(3, [item(7, 40, b'other', b'mb')]),
]
common_links = ([link(3, 7, CODE), link(1, 5, CODE), link(0, 1, CODE)], 0)
names = [definition(1, b'Lodz Baluty'), definition(2, b'Krakow'), definition(3, b'N' * 40, 1)]
write('stock_fuzz', 'found_everywhere', stock(0, 0, 1, 1, common_files, common_links, names))
write('stock_fuzz', 'ctrl9_new_list', stock(5, 0, 1, 1, common_files, common_links, names))
write('stock_fuzz', 'ctrl_f6_list', stock(6, 2, 2, 2, common_files, common_links, names))
write('stock_fuzz', 'no_barcode', stock(1, 0, 2, 2, [item_file(0, [item(2, 1, b'', b'szt.')])], None, []))
write('stock_fuzz', 'cursor_on_nothing', stock(2, 0, 9, 9, common_files, None, names))
write('stock_fuzz', 'unterminated_texts', stock(3, 0, 1, 1, [
    item_file(0, [item(1, 1000, b'X' * 10, b'kilos', 3)]),
    item_file(4, [item(1, 5, b'X' * 10, b'kilos', 3)], 100),
], ([link(4, 1, b'X' * 10, 1), link(6, 2, b'X' * 10)], 17), [definition(4, b'W' * 212, 1)]))
write('stock_fuzz', 'short_files_odd_links', stock(4, 1, 5, 5, [
    item_file(1, [item(5, 2500, CODE, b'szt.')], 200),
    item_file(-1, [item(5, 9, CODE, b'szt.')]),
], ([link(-1, 5, CODE), link(100, 5, CODE), link(1, 5, CODE), link(2, 0, CODE)], 90), names))
write('stock_fuzz', 'no_item_table', stock(0, 0, 1, 1, common_files, common_links, names, missing=1))
write('stock_fuzz', 'no_link_table', stock(0, 0, 1, 1, common_files, common_links, names, missing=4))
write('stock_fuzz', 'not_the_hot_key', stock(0, 0, 1, 1, common_files, common_links, names, key=0x6300))


# ---- screens_fuzz: options, names, session, actions
SCREEN = {815: 0, 2171: 1, 147: 2, 780: 3, 2201: 4, 397: 5, 3044: 6, 742: 7, 100: 8, 2172: 9}
KEY = {'F11': 0, 'Ctrl-F6': 1, 'Ctrl-9': 2, '2300': 3, '4007': 4, '4123': 5, '4150': 6, 'F7': 7,
       'F2': 8, 'Esc': 9, 'Enter': 10}


def screens(assignments, definitions, workstation, restricted, default, setting, current, mask, actions):
    data = u8(len(assignments))
    for row, column, station, warehouse in assignments:
        data += u8(row + 9 * column) + i32(station) + i16(warehouse)
    data += u8(len(definitions)) + b''.join(definitions)
    data += i32(workstation) + u8(restricted) + i16(default) + i16(setting) + i16(current) + mask
    return data + b''.join(actions)

def open_(s): return u8(0) + u8(SCREEN[s])
def key(s, k): return u8(1) + u8(SCREEN[s]) + u8(KEY[k])
def close(s): return u8(2) + u8(SCREEN[s])
def raw(s, event, argument): return u8(3) + u8(SCREEN[s]) + i16(event) + i16(argument)
def restrict(): return u8(4) + u8(0)
def toggle_table(index): return u8(5) + u8(index)  # 48, 49, 64, 117
def out_of_turn(s, event, argument): return u8(9) + u8(SCREEN[s]) + i16(event) + i16(argument)
def cursor(s, number): return u8(7) + u8(SCREEN[s]) + i16(number)

write('screens_fuzz', 'lock_cycle', screens([(1, 0, 4, 1)], names[:2], 4, 1, 0, 3, 0, ZERO_MASK, [
    open_(815), key(815, '2300'), key(815, '4150'), open_(2171), cursor(2171, 1), key(2171, 'F11'),
    close(2171), close(815)]))
write('screens_fuzz', 'every_list', screens([], names, 1, 0, 0, 0, 0, ZERO_MASK, [
    open_(147), cursor(147, 1), key(147, 'F11'), close(147), open_(397), cursor(397, 2), key(397, 'F11'),
    open_(3044), cursor(3044, 1), key(3044, 'Ctrl-9'), open_(742), cursor(742, 2), key(742, 'Ctrl-F6'),
    raw(742, 7, 1), close(742), close(3044), close(397)]))
write('screens_fuzz', 'lists_lock_without_document', screens([(0, 2, 9, 2)], [], 9, 1, 4, 6, 1,
      bytes([0x0F] * 13), [open_(780), open_(2201), key(2201, 'F2'), key(2201, 'F7'), open_(815), close(815),
      close(780), close(2201)]))
write('screens_fuzz', 'table_gone_at_close', screens([(3, 1, 2, 5)], [], 2, 1, 7, 8, 0, ZERO_MASK, [
    open_(815), toggle_table(2), close(815), toggle_table(2), open_(815), key(815, '4007'), close(815)]))
write('screens_fuzz', 'unhooked_screens', screens([], [], 0, 0, 0, 0, 0, ZERO_MASK, [
    open_(100), key(100, 'F11'), open_(2172), raw(2172, 3, 0), close(100), restrict(), open_(2171),
    key(2171, 'Enter'), close(2171)]))

write('screens_fuzz', 'out_of_turn', screens([(0, 0, 1, 3)], [], 1, 1, 0, 2, 0, ZERO_MASK, [
    out_of_turn(815, 2, 0), out_of_turn(2171, 1, 0x8500 - 0x10000), open_(815), out_of_turn(815, -2, 0),
    out_of_turn(780, -2, 0), key(815, '2300'), out_of_turn(3044, 2, 0), close(815)]))


# ---- form_fuzz: flags, file, names, mappings, picks, steps
FORM_KEY = {'F2': 0, 'F3': 1, 'F4': 2, 'F5': 3, 'F6': 4, 'F7': 5, 'F8': 6, 'F9': 7, 'F10': 8, 'Esc': 9,
            'Enter': 10, 'OK': 11, 'Cancel': 12, 'F12': 13}


def form(flags, file, definitions, mappings, picks, steps):
    data = u8(flags) + (u16(len(file)) + file if flags & 1 else b'')
    data += u8(len(definitions)) + b''.join(definitions)
    data += u8(len(mappings)) + b''.join(i32(a) + i32(b) for a, b in mappings)
    data += u8(len(picks)) + b''.join(i32(p) for p in picks)
    return data + b''.join(steps)

def press_key(k, event=0): return u8(0) + u8(FORM_KEY[k]) + u8(event)  # event 0: a key press
def type_station(row, column, number): return u8(1) + u8(row + 9 * column) + i32(number)
def type_name(row, number): return u8(1) + u8(27 + row) + i32(number)
def button(k): return u8(2) + u8(FORM_KEY[k])

form_names = [definition(3, b'Magazyn glowny'), definition(5, b'Z' * 60, 1), definition(99, b'Ostatni')]
write('form_fuzz', 'pick_type_ok', form(1, assigned, form_names, [], [3, 5, 99], [
    press_key('F2'), press_key('F3'), press_key('F10'), type_station(0, 0, 12), type_station(8, 2, 70000),
    button('OK')]))
write('form_fuzz', 'escape', form(1, assigned, form_names, [], [3], [press_key('F5'), press_key('Esc')]))
write('form_fuzz', 'odd_picks_and_mappings', form(1, assigned[:150], form_names, [(3, -7), (5, 40000)],
      [3, 5, -1, 70000, -32769], [press_key('F2'), press_key('F3'), press_key('F4'), press_key('F5'),
      press_key('F6'), type_name(0, 5), press_key('Enter'), button('OK')]))
write('form_fuzz', 'no_file_ok', form(0, b'', [], [], [1], [press_key('F9'), press_key('F12'), button('OK')]))
write('form_fuzz', 'no_right', form(4 | 1, assigned, [], [], [], [button('OK')]))
write('form_fuzz', 'no_warehouse_table', form(2 | 1, assigned, form_names, [], [3], [press_key('F2'),
      button('Cancel')]))
write('form_fuzz', 'other_events', form(1, assigned, [], [], [], [
    u8(0) + u8(0) + u8(1), u8(0) + u8(0) + u8(2), u8(0) + u8(200) + i32(0x3C00) + u8(200) + i32(0x10001),
    button('OK')]))
