; Never halts: increments every byte from 4000h to CFFFh, over and over,
; with the frame interrupt enabled.
        org 0
        di
        ld sp, 0E000h
        im 1
        ei
loop:   ld hl, 4000h
        ld bc, 9000h
_fill:  inc (hl)
        inc hl
        dec bc
        ld a, b
        or c
        jr nz, _fill
        jr loop

        ds 38h - $, 0
        ei
        reti
