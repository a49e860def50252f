; BASIC's drawing: PSET, POINT, LINE and CIRCLE on the 256 x 256 display.
; Coordinates are 16-bit signed. Whatever falls outside 0..255 is off the
; display and is not drawn, so a shape may hang over any edge or lie far
; beyond it: its points are stepped through one by one and only those on
; the display are drawn. A colour that is not 0 is ink (a set bit, black),
; 0 is paper. Every routine keeps IX and IY.

; Plots pixel (HL, DE) in colour A; nothing when it is off the display.
plot:
        call set_colour
        call locate
        ret nz
; Paints the pixel of mask C in the byte at HL in gfx_colour: the bit
; becomes the colour's, the others stay.
paint:
        ld a,(gfx_colour)
        xor (hl)
        and c
        xor (hl)
        ld (hl),a
        ret

; gfx_colour := FFh for a colour A that is not 0 (ink), else 0 (paper).
set_colour:
        neg
        sbc a,a
        ld (gfx_colour),a
        ret

; A := 1 when pixel (HL, DE) is ink, 0 when it is paper or off the display.
point:
        call locate
        ld a,0
        ret nz
        ld a,(hl)
        and c
        ret z
        ld a,1
        ret

; HL := the byte of pixel (HL, DE) and C := its mask, with Z clear when
; the pixel is off the display. Uses A, DE.
locate:
        ld a,h
        or d
        ret nz
        ld a,l
        ld h,e                  ; HL = 256y + x, and shifted right three
        srl h                   ; times 32y + x / 8, the byte from SCREEN
        rr l
        srl h
        rr l
        srl h
        rr l
        ld e,a
        ld a,h
        or HIGH SCREEN
        ld h,a
        ld a,e
        and 7
        or LOW pixel_masks
        ld e,a
        ld d,HIGH pixel_masks
        ld a,(de)
        ld c,a
        cp a
        ret

; HL := the address of line y = HL, SCREEN + 32y; H := 0, below the
; display, when y is off it. Uses A.
row:
        ld a,h
        or a
        ld h,0
        ret nz
        ld a,l
        rrca
        rrca
        rrca
        ld l,a                  ; bits 7-5 y AND 7, bits 4-0 y / 8
        or HIGH SCREEN
        ld h,a
        ld a,l
        and 0E0h
        ld l,a
        ret

; C := the mask of column x = HL and B := its byte in a line, x / 8; both
; 0 when x is off the display. Uses A.
column:
        ld bc,0
        ld a,h
        or a
        ret nz
        ld a,l
        and 7
        or LOW pixel_masks
        ld c,a
        ld b,HIGH pixel_masks
        ld a,(bc)
        ld c,a
        ld a,l
        rrca
        rrca
        rrca
        and 1Fh
        ld b,a
        ret

; The mask of each pixel of a byte, leftmost first. The table starts at a
; multiple of 8, so the entry for x is at LOW pixel_masks OR (x AND 7).
        DEFS (8 - ($ AND 7)) AND 7
pixel_masks:
        DEFB 80h,40h,20h,10h,08h,04h,02h,01h

; HL := |DE - HL| for signed HL and DE, with carry set when DE < HL. The
; magnitude is at most 65535, so it always fits. Uses A, DE.
difference:
        ld a,h
        xor 80h                 ; moved up by 8000h, signed order becomes
        ld h,a                  ; unsigned order
        ld a,d
        xor 80h
        ld d,a
        ex de,hl
        or a
        sbc hl,de
        ret nc
        ld a,h                  ; negative: complement and add one, which
        cpl                     ; leaves the carry set
        ld h,a
        ld a,l
        cpl
        ld l,a
        inc hl
        ret

; LINE
; draw_line draws from (gfx_x1, gfx_y1) to (gfx_x2, gfx_y2) in colour A,
; leaving the four coordinates as they were. It works from the left end
; along the major axis: x when |dx| >= |dy|, else y. With d the major
; length and e the minor one, step k (0..d) puts the pixel at minor offset
; (e * k + d / 2) / d, rounded down: one pixel in every column (or row),
; both ends lit, and the same pixels whichever end comes first. The error
; is the remainder of that division less d (-d..-1, kept as a 16-bit
; number whose 17th bit is implied), which carries just as the offset
; moves on.
;
; A line that rises is drawn as one that falls in y' = 255 - y, which is on
; the display just when y is, so that both axes only ever count up. The
; steps before the first pixel on the display are walked through in 16
; bits; from there a fast loop draws until the line leaves the display or
; ends. The pixels on the display are one unbroken stretch of the line, so
; nothing after that can be on it.
draw_line:
        call set_colour
        ld hl,(gfx_x1)
        ld de,(gfx_x2)
        call difference         ; |dx|, carry when the second end is the left one
        push hl
        ld hl,(gfx_x1)
        ld de,(gfx_y1)
        ld bc,(gfx_y2)
        jr nc,_left
        ld hl,(gfx_x2)
        ld de,(gfx_y2)
        ld bc,(gfx_y1)
_left:
        push hl                 ; x of the left end
        push de                 ; its y
        ex de,hl
        ld d,b
        ld e,c
        call difference         ; |dy|, carry when the line rises
        sbc a,a
        ld (line_up),a
        ex de,hl
        pop hl
        ld b,a                  ; y' = y, or NOT y + 256 = 255 - y
        ld a,l
        xor b
        ld l,a
        ld a,h
        xor b
        sub b
        ld h,a
        pop bc
        ex (sp),hl              ; HL = |dx|, and y' below x on the stack
        push bc
        or a
        sbc hl,de
        add hl,de
        sbc a,a
        ld (line_steep),a       ; FFh when |dy| > |dx|: y is the major axis
        jr nc,_lengths
        ex de,hl
_lengths:
        push de
        push hl
        exx
        pop bc                  ; d
        pop de                  ; DE' = e
        ld h,b
        ld l,c
        srl h
        rr l
        xor a
        sub c
        ld c,a
        sbc a,a
        sub b
        ld b,a                  ; BC' = -d
        add hl,bc               ; HL' = the error, d / 2 - d
        exx
        ld b,h
        ld c,l                  ; BC = the steps after this one
        pop hl                  ; HL = x, DE = y': major, minor
        pop de
        ld a,(line_steep)
        or a
        jr z,_walk
        ex de,hl
_walk:
        ld a,h
        or d
        jr z,_on                ; both 0..255
        ld a,b
        or c
        ret z                   ; the far end is off the display too
        dec bc
        inc hl
        exx
        add hl,de
        exx
        jr nc,_walk
        exx
        add hl,bc
        exx
        inc de
        jr _walk
_on:
        ld a,l                  ; pixels to draw: one more than the steps
        cpl                     ; left or than 255 - major, the steps before
        inc b                   ; the major axis leaves the display
        dec b
        jr nz,_count
        cp c
        jr c,_count
        ld a,c
_count:
        inc a                   ; 256 as 0
        push af
        ld a,(line_steep)
        or a
        jr z,_across
        ex de,hl
_across:
        ld a,(line_up)
        xor e
        ld e,a                  ; y from y'
        call locate
        ld de,LINE_BYTES
        ld a,(line_up)
        or a
        jr z,_down
        ld de,-LINE_BYTES
_down:
        pop af
        ld b,a
        ld a,(gfx_colour)
        or a
        jr nz,_ink
        ld a,c
        cpl
        ld c,a
        ld a,(line_steep)
        or a
        jr nz,line_down_paper
        jr line_across_paper
_ink:
        ld a,(line_steep)
        or a
        jr z,line_across_ink
        ; on into line_down_ink

; The line's pixel loops. HL = the byte, C = the mask, B = the pixels to
; draw (0 for 256), none of them past the display's edge along the major
; axis, DE = +32 or -32, a line down or up. The error in HL' grows by e
; (DE') each step; when it carries, the minor offset goes on by one and it
; takes d back (BC' = -d). A minor step that leaves the display ends the
; line. Ink sets the mask's bit, which rotates into the carry as it wraps
; to the next byte; paper clears the complemented mask's bit, whose carry
; is clear as it wraps.

; Along y, a line down or up each step.
LINE_DOWN MACRO op, wraps
        LOCAL pixel, plumb, next_byte
pixel:
        ld a,(hl)
        op c
        ld (hl),a
        add hl,de
        exx
        add hl,de
        jr nc,plumb
        add hl,bc
        exx
        rrc c
        jr wraps,next_byte
        djnz pixel
        ret
plumb:
        exx
        djnz pixel
        ret
next_byte:
        inc l
        ld a,l
        and 1Fh
        ret z                   ; past the right edge
        djnz pixel
        ret
        ENDM

; Along x, a pixel to the right each step.
LINE_ACROSS MACRO op, wraps
        LOCAL pixel, level, next_byte
pixel:
        ld a,(hl)
        op c
        ld (hl),a
        exx
        add hl,de
        jr nc,level
        add hl,bc
        exx
        add hl,de
        bit 5,h                 ; below E000h or wrapped past FFFFh: off
        ret z
        rrc c
        jr wraps,next_byte
        djnz pixel
        ret
level:
        exx
        rrc c
        jr wraps,next_byte
        djnz pixel
        ret
next_byte:
        inc l
        djnz pixel
        ret
        ENDM

line_down_ink:
        LINE_DOWN or, c
line_down_paper:
        LINE_DOWN and, nc
line_across_ink:
        LINE_ACROSS or, c
line_across_paper:
        LINE_ACROSS and, nc

; CIRCLE
; draw_circle draws the circle of centre (HL, DE) and radius BC (0..32767;
; one above draws nothing) in colour A. It steps x from 0 while x <= y, with
; y the largest whose x^2 + y(y - 1) < r^2 (midpoint rounding, so every
; pixel is within half a pixel of the radius), and draws the eight points
; (cx +- x, cy +- y) and (cx +- y, cy +- x). P = x^2 + y(y + 1) - r^2, from
; 0 to 2y - 1, decides y at the next x: P + 2x + 1 >= 2y takes y one lower.
draw_circle:
        bit 7,b
        ret nz
        ld (circle_cx),hl
        ld (circle_cy),de
        call set_colour
        ld (circle_y),bc
        ld (circle_p),bc        ; P = r at x = 0, y = r
        ld hl,0
        ld (circle_x),hl
_points:
        ld hl,(circle_x)
        ld de,(circle_y)
        call circle_four
        ld hl,(circle_y)
        ld de,(circle_x)
        call circle_four
        ld hl,(circle_y)
        add hl,hl
        ex de,hl                ; DE = 2y
        ld hl,(circle_x)
        ld b,h
        ld c,l
        inc bc
        ld (circle_x),bc
        add hl,bc               ; 2x + 1
        ld bc,(circle_p)
        add hl,bc               ; P + 2x + 1, its 17th bit in the carry
        jr c,_fall
        sbc hl,de
        jr nc,_fallen
        add hl,de
        jr _keep
_fall:
        or a
        sbc hl,de
_fallen:
        ld bc,(circle_y)
        dec bc
        ld (circle_y),bc
_keep:
        ld (circle_p),hl
        ld hl,(circle_y)        ; on while x <= y; y is -1 after radius 0
        ld de,(circle_x)
        or a
        sbc hl,de
        jp p,_points
        ret

; Draws the four points (cx +- a, cy +- b) for a = HL and b = DE, both
; 0..32767.
circle_four:
        push de
        ex de,hl
        ld hl,(circle_cx)
        call plus_minus
        call column
        push bc                 ; column cx + a
        ex de,hl
        call column             ; column cx - a
        pop de
        pop hl
        push bc
        push de
        ex de,hl
        ld hl,(circle_cy)
        call plus_minus
        call row
        ex de,hl
        call row                ; HL = line cy - b, DE = line cy + b
        pop bc
        ex (sp),hl
        ex de,hl                ; HL = line cy + b, DE and BC the columns
        call paint_row
        pop hl
        ; on into paint_row for line cy - b

; Paints the pixels of columns BC and DE (byte B or D, mask C or E; mask 0
; when off the display, which leaves the byte as it was) on the line at
; HL, none when H is below the display. Uses A, L.
paint_row:
        bit 5,h
        ret z
        ld a,l
        or b
        ld l,a
        ld a,(gfx_colour)
        xor (hl)
        and c
        xor (hl)
        ld (hl),a
        ld a,l
        xor b
        or d
        ld l,a
        ld a,(gfx_colour)
        xor (hl)
        and e
        xor (hl)
        ld (hl),a
        ret

; HL := HL + DE and DE := HL - DE for signed HL and DE in 0..32767. A sum
; beyond 32767 wraps to a negative number, off the display all the same; a
; difference below -32768 would wrap onto it and becomes 8000h instead.
plus_minus:
        push hl
        add hl,de
        ex (sp),hl
        or a
        sbc hl,de
        jp po,_fits
        ld h,80h
_fits:
        ex de,hl
        pop hl
        ret
