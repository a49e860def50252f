; Shows the keyboard matrix on the display: the screen is black, and each key
; that is down turns its own 32 x 32 block white. The key in row r, column c
; owns the block at x = 40c, y = 32r. The scan runs without pause, so the
; processor never rests.
SCREEN  equ 0E000h

        org 0
        di
        ld sp, 0C000h
        ld hl, SCREEN           ; the whole screen black
        ld de, SCREEN + 1
        ld bc, 2000h - 1
        ld (hl), 0FFh
        ldir

scan:   ld hl, SCREEN           ; row 0's first block
        ld c, 0FEh              ; row select: the 0 bit picks the row
_row:   ld a, c
        in a, (80h)             ; bits 0-4: columns, 0 while the key is down
        ld e, a
        push hl
        ld b, 5
_col:   ld a, 0FFh              ; up: black
        rr e
        jr c, _draw
        xor a                   ; down: white
_draw:  call block
        ld a, l
        add a, 5                ; next block, 40 pixels to the right
        ld l, a
        djnz _col
        pop hl
        ld a, h
        add a, 4                ; next row of blocks, 32 lines down
        ld h, a
        rlc c
        jr c, _row              ; eight rows, until the 0 bit comes round
        jr scan

; Fills the 32 x 32 block at HL with the byte A; keeps BC, DE and HL.
block:  push hl
        push bc
        ld b, 32
_line:  ld (hl), a
        inc l
        ld (hl), a
        inc l
        ld (hl), a
        inc l
        ld (hl), a
        ld c, a
        ld a, l
        add a, 32 - 3           ; same column, next line
        ld l, a
        jr nc, _same
        inc h
_same:  ld a, c
        djnz _line
        pop bc
        pop hl
        ret
