; Counts the changes of the tape input bit in the word at 8000h, polling
; about every 41 T-states (faster than one sample).
        org 0
        di
        ld hl, 0
        ld c, 0                 ; last level seen
loop:   ld a, 7Fh               ; one row selected, so the tape is sampled
        in a, (80h)
        and 80h
        cp c
        jr z, loop
        ld c, a
        inc hl
        ld (8000h), hl
        jr loop
