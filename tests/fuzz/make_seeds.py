#!/usr/bin/env python3
"""Writes the seed corpus of every fuzz target: small valid inputs that take
each target down its main paths. Run from this folder; the output is checked
in under corpus/."""
import os
import struct


def record(pc=0x4000, sp=0xFF00, im=1, iff=0, halted=0, nmi=0, irq=0, delay=0, data=0, bus=0):
    """The processor's 69-byte image."""
    image = bytearray(69)
    struct.pack_into("<H", image, 12, sp)
    struct.pack_into("<H", image, 28, pc)
    image[32] = image[33] = iff
    image[34] = im
    image[59] = halted
    image[64], image[65], image[66], image[67], image[68] = nmi, irq, delay, data, bus
    return bytes(image)


# Reads port 0x80 with row 0 selected, echoes the level to the port, inverts
# it and writes again, in a loop.
PORT_LOOP = bytes([0x3E, 0xFE, 0xDB, 0x80, 0xD3, 0x80, 0x2F, 0xD3, 0x80, 0x18, 0xF5])
# Writes the port every 440 T-states or so, 7 samples apart.
SLOW_WRITES = bytes([0xD3, 0x80, 0x2F, 0x06, 0x20, 0x10, 0xFE, 0x18, 0xF7])
# EI, HALT, JR back: waits for interrupts.
HALT_LOOP = bytes([0xFB, 0x76, 0x18, 0xFC])
# LDIR over 256 bytes, then DJNZ and a DDCB instruction.
BLOCK = bytes([0x21, 0x00, 0x40, 0x11, 0x00, 0x80, 0x01, 0x00, 0x01, 0xED, 0xB0,
               0x06, 0x10, 0xDD, 0xCB, 0x05, 0xC6, 0x10, 0xFA, 0x18, 0xEE])

SEEDS = {
    "core_fuzz": {
        # record, budget, 16 port values, flags, memory
        "port_loop": record() + struct.pack("<H", 5000) + bytes(range(0, 256, 16)) + b"\0" + PORT_LOOP,
        "mode0_ex_sp": record(pc=0, im=0, iff=1, irq=1, data=0xE3) + struct.pack("<H", 300)
                       + bytes(16) + b"\0" + bytes([0xDD, 0xCB, 0x01, 0xC6]),
        "mode2_halt": record(pc=0, im=2, iff=1, halted=1, irq=1) + struct.pack("<H", 1000)
                      + bytes(16) + b"\0" + HALT_LOOP,
        "nmi_after_ei": record(pc=0, iff=1, nmi=1, delay=1) + struct.pack("<H", 2000)
                        + bytes(16) + b"\0" + BLOCK,
        "bus_opcode": record(pc=0, im=0, data=0xFF, bus=1) + struct.pack("<H", 100)
                      + bytes(16) + b"\1" + HALT_LOOP,
    },
    "disassemble_fuzz": {
        "ld_bc": b"\0\0" + bytes([0x01, 0x34, 0x12]),
        "ddcb": b"\0\0" + bytes([0xDD, 0xCB, 0x80, 0x06]),
        "ed_block": b"\0\0" + bytes([0xED, 0xB0]),
        "jr_back": b"\xff\xff" + bytes([0x18]),
        "ld_ix_nn": b"\0\0" + bytes([0xFD, 0x36, 0x7F, 0xAA]),
    },
    "state_fuzz": {
        # a snapshot of the processor and the first bytes of RAM (0x4000 on)
        "port_loop": record(iff=1) + PORT_LOOP,
        "halted_mode2": record(im=2, iff=1, halted=1) + HALT_LOOP,
        "mode3": record(im=3, iff=1, irq=1) + HALT_LOOP,
        "nmi_pending": record(nmi=1) + BLOCK,
        "record_only": record(),
        "short": record()[:40],
        # sizes around the record and the whole file, padded with HALT
        "size_68": record()[:68],
        "size_70": record() + b"\x76",
        "size_49220": record(iff=1) + HALT_LOOP + b"\x76" * (49_220 - 69 - len(HALT_LOOP)),
        "size_49221": record(iff=1) + HALT_LOOP + b"\x76" * (49_221 - 69 - len(HALT_LOOP)),
        "size_60000": record(iff=1) + HALT_LOOP + b"\x76" * (60_000 - 69 - len(HALT_LOOP)),
    },
    "tape_fuzz": {
        # flags, distance before the end, frames, program length, program, tape
        "play_end": bytes([0]) + struct.pack("<I", 150_000) + bytes([3, len(PORT_LOOP)]) + PORT_LOOP + bytes([200, 100] * 8),
        "record_end": bytes([1]) + struct.pack("<I", 150_000) + bytes([3, len(PORT_LOOP)]) + PORT_LOOP,
        "record_then_play": bytes([2]) + struct.pack("<I", 20_000) + bytes([4, len(PORT_LOOP)]) + PORT_LOOP,
        "play_then_record": bytes([3]) + struct.pack("<I", 120_000) + bytes([5, len(PORT_LOOP)]) + PORT_LOOP,
        "record_slow_writes": bytes([1]) + struct.pack("<I", 90_000) + bytes([3, len(SLOW_WRITES)]) + SLOW_WRITES,
        "past_end": bytes([1]) + struct.pack("<I", 0) + bytes([1, len(PORT_LOOP)]) + PORT_LOOP,
    },
    "loaders_fuzz": {
        # loader, size selector, size offset, content
        "rom_exact": bytes([0, 0, 0]) + b"ROM",
        "rom_over": bytes([0, 0, 1]) + b"\xc3\x00\x40",
        "dev_under": bytes([1, 0, 0xFF]) + b"dev",
        "tape_short": bytes([2, 0x80, 0]) + bytes([0, 255] * 20),
        "dev_file_over": bytes([3, 0, 2]) + b"file",
        "tape_file_exact": bytes([4, 0, 0]) + b"\x90",
    },
    "config_fuzz": {
        "two_tapes": b"casette one.raw\ncasette two.raw\n",
        "six_tapes": b"".join(b"casette t%d.raw\n" % i for i in range(6)),
        "no_final_newline": b"casette last.raw",
        "mixed": b"\n# comment\nCasette no.raw\ncasette\ncasette a.raw extra\r\n\tcasette\tb.raw\n",
        "nul_and_long": b"casette a\0b.raw\n" + b"casette " + b"x" * 300 + b"\ncasette ok.raw\n",
    },
    "headless_options_fuzz": {
        "frames": b"--frames\0" b"10",
        "keys": b"--frames\0" b"50\0--press\0" b"1:A\0--release\0" b"5:A\0--tap\0" b"7:RETURN:3",
        "type": b"--frames\0" b"100\0--type\0" b"2:Hello, world!\\n\\\\",
        "tape": b"--frames\0" b"9\0--tape-load\0" b"1:data/a.raw\0--tape-play\0" b"2\0--tape-record\0"
                b"3\0--tape-stop\0" b"4\0--save-state\0" b"5\0--load-state\0" b"6\0--load-dev\0" b"7\0--reset\0" b"8",
        "captures": b"--frames\0" b"3\0--png\0" b"1:a.png\0--dump\0" b"2:m.bin\0--wav\0" b"s.wav",
        "help": b"--help",
    },
    "keyboard_layout_fuzz": {
        "layout": open("../../rom/keyboard.txt", "rb").read(),
        "one_key": b"# row column host-key plain shift ctrl\n0 0 1 1 ! |\n",
        "bad_symbol": b"0 0 1 ## ! |\n",
    },
}

for target, seeds in SEEDS.items():
    os.makedirs(os.path.join("corpus", target), exist_ok=True)
    for name, data in seeds.items():
        with open(os.path.join("corpus", target, name), "wb") as f:
            f.write(data)
