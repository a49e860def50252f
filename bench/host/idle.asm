; An idle machine: it waits for each frame's interrupt in HALT and does
; nothing else, as a system waiting at its prompt would.
        org 0
        di
        ld sp, 0C000h
        im 1
        ei
wait:   halt
        jr wait

        ds 38h - $, 0
        ei
        reti
