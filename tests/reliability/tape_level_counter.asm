; Test ROM for the bad-input window tests. The top 64 display lines show the
; tape input: black while it is high, white while it is low or the tape is
; silent. The bottom 32 lines show a count of 16-frame periods as eight
; blocks of 32 pixels, most significant bit first, black for a 1; a reset
; (which clears RAM) starts it again at 0.

ticks   equ 8000h           ; frames, in RAM
periods equ 8001h           ; counted when the low 4 bits of ticks come to 0
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
        ld hl, ticks
        inc (hl)
        ld a, (hl)
        and 0Fh
        jr nz, done
        inc hl              ; periods
        inc (hl)
        ld c, (hl)
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
done:   pop hl
        pop de
        pop bc
        pop af
        ei
        reti
