; Toggles the output bit every 251 T-states (about 10 kHz), starting low,
; with interrupts off: the first write comes 19 T-states into the run.
        org 0
        di
        xor a
loop:   out (80h), a            ; 11
        xor 80h                 ; 7
        ld b, 17                ; 7
_wait:  djnz _wait              ; 13 x 16 + 8
        jp loop                 ; 10
