; Variables. The name table follows the program's end marker: an entry is a
; 5-byte value slot, then the name in capitals with '$' for a string and '('
; for an array, its last character + 80h. The program refers to a variable
; by its slot's offset from the table's start (prog_end), so that reaching
; it costs one addition and the table can move with the program's end.
; Names are only ever added, when a line is typed, so the offsets stay good;
; NEW empties the table.
;
; A slot holds a number, a string's descriptor (its address, its length and
; two bytes the string collector uses), or for an array the offset of its
; block from the arrays' start (names_end) and, in its third byte, 1 once
; the array exists.

; The name at HL, C characters (letters and digits in either case, then
; perhaps '$' and '('): DE := its slot's offset, A := its marker. A new name
; joins the table. Keeps HL.
find_name:
        call name_marker
        push af
        ld ix,(prog_end)
_entry:
        push ix
        pop de
        push hl
        ld hl,(names_end)
        or a
        sbc hl,de
        pop hl
        jr z,_add
        push hl
        push bc
        ld de,5
        add ix,de
_char:
        ld a,(hl)
        call upper_case
        ld b,a
        ld a,(ix+0)
        inc ix
        inc hl
        dec c
        jr z,_last
        cp b
        jr z,_char
        jr _skip
_last:
        xor b
        cp 80h
        jr z,_found
        xor b
_skip:
        rla
        jr c,_next
        ld a,(ix+0)
        inc ix
        jr _skip
_next:
        pop bc
        pop hl
        jr _entry
_found:
        pop bc
        pop hl
        push hl
        push ix
        pop hl
        ld a,c
        add a,5
        ld e,a
        ld d,0
        sbc hl,de               ; (carry clear from the add) HL = the slot
        jr _offset
_add:
        push hl
        push bc
        ld a,c
        add a,5
        ld c,a
        ld b,0
        call make_room          ; DE = the new entry
        pop bc
        pop hl
        push hl
        push de
        ex de,hl
        ld b,5
_zero:
        ld (hl),0
        inc hl
        djnz _zero
_copy:
        ld a,(de)
        call upper_case
        inc de
        ld (hl),a
        inc hl
        dec c
        jr nz,_copy
        dec hl
        set 7,(hl)
        pop hl
_offset:
        ld de,(prog_end)
        or a
        sbc hl,de
        ex de,hl
        pop hl
        pop af
        ret

; A := the marker of the name at HL, C characters. Keeps HL, C.
name_marker:
        push hl
        ld b,0
        add hl,bc
        dec hl
        ld a,(hl)
        ld b,TK_NVAR
        cp '('
        jr nz,_scalar
        ld b,TK_NARR
        dec hl
        ld a,(hl)
_scalar:
        cp '$'
        jr nz,_marked
        inc b
_marked:
        ld a,b
        pop hl
        ret

; Opens BC bytes at the name table's end for a new entry, moving the arrays
; up: DE := the gap.
make_room:
        call need_room
        ld hl,(arrays_end)
        push hl
        add hl,bc
        ld (arrays_end),hl
        ex de,hl
        pop hl
        push bc
        push hl
        ld bc,(names_end)
        or a
        sbc hl,bc
        ld b,h
        ld c,l                  ; the arrays' bytes
        pop hl
        ld a,b
        or c
        jr z,_moved
        dec hl
        dec de
        lddr
_moved:
        pop bc
        ld hl,(names_end)
        push hl
        add hl,bc
        ld (names_end),hl
        pop de
        ret

; The variable or array element at HL: DE := the address of its value,
; A := 0 for a number, 1 for a string; HL past it.
get_target:
        ld a,(hl)
        inc hl
        cp TK_NVAR
        jp c,syntax_error
        cp TK_SARR+1
        jp nc,syntax_error
        ld c,a
        ld e,(hl)
        inc hl
        ld d,(hl)
        inc hl
        push hl
        ld hl,(prog_end)
        add hl,de
        ex de,hl
        pop hl
        ld a,c
        and 1
        bit 1,c
        ret z
        push af
        call array_element
        pop af
        ret

; LET target = value (LET may be left out).
stmt_let:
        call get_target
        push de
        push af
        rst 18h
        DEFB TK_EQUAL
        call eval
        pop af
        ld b,a
        ld a,(val_type)
        cp b
        jp nz,type_mismatch
        pop de
        or a
        jp nz,string_assign
        push hl
        ld hl,fp_acc
        ldi
        ldi
        ldi
        ldi
        ldi
        pop hl
        ret

; Arrays come with the strings' stage; until then there are none.
array_element:
        jp syntax_error
