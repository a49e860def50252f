#!/usr/bin/env python3
# Writes the seed corpus of every fuzz target, small valid inputs down each
# target's main paths, into corpus/ (checked in). Run from this folder.
import os
import struct


# The processor's 69-byte image.
def record(pc=0x4000, sp=0xFF00, im=1, iff=0, halted=0, nmi=0, irq=0, delay=0, data=0, bus=0):
    image = bytearray(69)
    struct.pack_into("<H", image, 12, sp)
    struct.pack_into("<H", image, 28, pc)
    image[32] = image[33] = iff
    image[34], image[59] = im, halted
    image[64:69] = bytes([nmi, irq, delay, data, bus])
    return bytes(image)


# Core input: record, budget, 16 port values, flags (bus opcode first), memory.
def core(budget, code, **fields):
    return record(pc=0, **fields) + struct.pack("<H", budget) + bytes(range(0, 256, 16)) + bytes([fields.get("bus", 0)]) + code


# Tape input: flags, distance before the end, frames, program length and bytes, tape.
def tape(flags, distance, frames, program, samples=b""):
    return bytes([flags]) + struct.pack("<I", distance) + bytes([frames, len(program)]) + program + samples


# Reads port 0x80 with row 0 selected, echoes the level, inverts it, writes again, loops.
PORT_LOOP = bytes([0x3E, 0xFE, 0xDB, 0x80, 0xD3, 0x80, 0x2F, 0xD3, 0x80, 0x18, 0xF5])
# Writes the port every 440 T-states or so, 7 samples apart.
SLOW_WRITES = bytes([0xD3, 0x80, 0x2F, 0x06, 0x20, 0x10, 0xFE, 0x18, 0xF7])
HALT_LOOP = bytes([0xFB, 0x76, 0x18, 0xFC])  # EI, HALT, JR back
# LDIR over 256 bytes, then DJNZ and a DDCB instruction.
BLOCK = bytes([0x21, 0x00, 0x40, 0x11, 0x00, 0x80, 0x01, 0x00, 0x01, 0xED, 0xB0,
               0x06, 0x10, 0xDD, 0xCB, 0x05, 0xC6, 0x10, 0xFA, 0x18, 0xEE])
HALTS = record(iff=1) + HALT_LOOP + b"\x76" * 60_000  # a snapshot, cut below to sizes around its limits

SEEDS = {
    "core_fuzz": {
        "port_loop": core(5000, PORT_LOOP),
        # a budget of 1: the interrupt response is the run's last pass
        "mode0_ex_sp": core(1, bytes([0xDD, 0xCB, 0x01, 0xC6]), im=0, iff=1, irq=1, data=0xE3),
        "mode2_halt": core(1, HALT_LOOP, im=2, iff=1, halted=1, irq=1),
        "nmi_after_ei": core(2000, BLOCK, iff=1, nmi=1, delay=1),
        "bus_opcode": core(100, HALT_LOOP, im=0, data=0xFF, bus=1),
    },
    "disassemble_fuzz": {  # address, memory
        "ld_bc": b"\0\0\x01\x34\x12",
        "ddcb": b"\0\0\xdd\xcb\x80\x06",
        "ed_block": b"\0\0\xed\xb0",
        "jr_back": b"\xff\xff\x18",
        "ld_ix_nn": b"\0\0\xfd\x36\x7f\xaa",
    },
    "state_fuzz": {  # the record, then RAM from 0x4000 on
        "port_loop": record(iff=1) + PORT_LOOP,
        "halted_mode2": record(im=2, iff=1, halted=1) + HALT_LOOP,
        "mode3": record(im=3, iff=1, irq=1) + HALT_LOOP,
        "nmi_pending": record(nmi=1) + BLOCK,
        "short": record()[:40],
        **{"size_%d" % n: (record() + b"\x76")[:n] for n in (68, 69, 70)},
        **{"size_%d" % n: HALTS[:n] for n in (49_220, 49_221, 60_000)},
    },
    "tape_fuzz": {
        "play_end": tape(0, 150_000, 3, PORT_LOOP, bytes([200, 100] * 8)),
        "record_end": tape(1, 150_000, 3, PORT_LOOP),
        "record_then_play": tape(2, 20_000, 4, PORT_LOOP),
        "play_then_record": tape(3, 120_000, 5, PORT_LOOP),
        "record_slow_writes": tape(1, 90_000, 3, SLOW_WRITES),
        "past_end": tape(1, 0, 1, PORT_LOOP),
    },
    "loaders_fuzz": {  # loader, size selector, size offset, content
        "rom_exact": b"\0\0\0ROM",
        "rom_over": b"\0\0\x01\xc3\x00\x40",
        "dev_under": b"\x01\0\xffdev",
        "tape_short": b"\x02\x80\0" + bytes([0, 255] * 20),
        "dev_file_over": b"\x03\0\x02file",
        "tape_file_exact": b"\x04\0\0\x90",
    },
    "config_fuzz": {
        "two_tapes": b"casette one.raw\ncasette two.raw\n",
        "six_tapes": b"".join(b"casette t%d.raw\n" % i for i in range(6)),
        "no_final_newline": b"casette last.raw",
        "mixed": b"\n# comment\nCasette no.raw\ncasette\ncasette a.raw extra\r\n\tcasette\tb.raw\n",
        "nul_and_long": b"casette a\0b.raw\n" + b"casette " + b"x" * 300 + b"\ncasette ok.raw\n",
    },
    "headless_options_fuzz": {  # arguments, NUL-separated
        "frames": b"--frames\0" b"10",
        "keys": b"--frames\0" b"50\0--press\0" b"1:A\0--release\0" b"5:A\0--tap\0" b"7:RETURN:3",
        "type": b"--frames\0" b"100\0--type\0" b"2:Hello, world!\\n\\\\",
        "tape": b"--frames\0" b"9\0--tape-load\0" b"1:data/a.raw\0--tape-play\0" b"2\0--tape-record\0"
                b"3\0--tape-stop\0" b"4\0--save-state\0" b"5\0--load-state\0" b"6\0--load-dev\0" b"7\0--reset\0" b"8",
        "captures": b"--frames\0" b"3\0--png\0" b"1:a.png\0--dump\0" b"2:m.bin\0--wav\0" b"s.wav",
        "help": b"--help",
    },
}

for target, seeds in SEEDS.items():
    os.makedirs(os.path.join("corpus", target), exist_ok=True)
    for name, data in seeds.items():
        with open(os.path.join("corpus", target, name), "wb") as f:
            f.write(data)
