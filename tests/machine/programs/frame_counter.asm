; Counts the frame interrupts in the word at 8000h and halts between them.
        org 0
        di
        ld sp, 0C000h
        im 1
        ei
main:   halt
        jr main

        ds 38h - $, 0
        push hl
        ld hl, (8000h)
        inc hl
        ld (8000h), hl
        pop hl
        ei
        reti
