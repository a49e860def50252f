; Test ROM for the bad-input window tests. The top 64 display lines show the
; tape input: black while it is high, white while it is low or the tape is
; silent. The bottom 32 lines show a frame counter as eight blocks of 32
; pixels, bits 11 down to 4 of the count, black for a 1: the readout counts
; up every 16 frames, and a reset (which clears RAM) starts it again at 0.

count   equ 8000h           ; 16-bit frame count, in RAM
top     equ 0E000h          ; display lines 0-63: 2,048 bytes
bottom  equ 0FC00h          ; display lines 224-255: 1,024 bytes

        org 0
        di
        ld sp, 0E000h
        im 1
        ei
show_tape:
        ld a, 0FEh          ; select row 0 so that the port answers
        in a, (80h)
        and 80h             ; the tape bit
        jr z, fill
        ld a, 0FFh
fill:   ld hl, top
        ld de, top + 1
        ld bc, 2047
        ld (hl), a
        ldir
        jr show_tape

        org 38h
        push af
        push bc
        push de
        push hl
        ld hl, (count)
        inc hl
        ld (count), hl
        ld a, l             ; a := bits 11-4 of the count
        and 0F0h
        ld b, a
        ld a, h
        and 0Fh
        or b
        rrca
        rrca
        rrca
        rrca
        ld c, a
        ld hl, bottom       ; one line of eight 4-byte blocks, bit 7 first
        ld b, 8
block:  rlc c
        sbc a, a            ; 0FFh for a 1, 0 for a 0
        ld (hl), a
        inc hl
        ld (hl), a
        inc hl
        ld (hl), a
        inc hl
        ld (hl), a
        inc hl
        djnz block
        ld hl, bottom       ; copied down the other 31 lines
        ld de, bottom + 32
        ld bc, 992
        ldir
        pop hl
        pop de
        pop bc
        pop af
        ei
        reti
