; Once per frame counts the frame interrupt in the word at 8000h and reads
; the keyboard: row r alone into 8100h + r, all rows into 8108h, no row into
; 8109h. Row r's down keys also show as black pixels in display byte E000h + r.
        org 0
        di
        ld sp, 0C000h
        im 1
        ei
main:   halt
        jr main

        ds 38h - $, 0
        ld hl, (8000h)
        inc hl
        ld (8000h), hl
        ld hl, 8100h
        ld de, 0E000h
        ld bc, 0FE80h           ; B selects one row (a 0 bit), C is the port
_row:   in a, (c)
        ld (hl), a
        cpl
        and 1Fh
        ld (de), a
        inc hl
        inc de
        rlc b                   ; the last row (B = 7Fh) shifts out a 0
        jr c, _row
        xor a
        in a, (80h)
        ld (hl), a
        inc hl
        ld a, 0FFh
        in a, (80h)
        ld (hl), a
        ei
        reti
