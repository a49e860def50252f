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
        call slot_at
        ld a,c
        and 1
        bit 1,c
        ret z
        push af
        call array_element
        pop af
        ret

; DE := the slot whose offset is at HL, HL past it.
slot_at:
        ld e,(hl)
        inc hl
        ld d,(hl)
        inc hl
        push hl
        ld hl,(prog_end)
        add hl,de
        ex de,hl
        pop hl
        ret

; HL := the name table's entry after the one whose slot is at HL; A := the
; name's last character, B := the one before it (0 for a name of one).
next_entry:
        ld de,5
        add hl,de
        ld b,0
_char:
        ld a,(hl)
        inc hl
        bit 7,a
        jr nz,_last
        ld b,a
        jr _char
_last:
        and 7Fh
        ret

; Z when HL is the name table's end. Keeps HL.
names_ended:
        push de
        ex de,hl
        ld hl,(names_end)
        or a
        sbc hl,de
        ex de,hl
        pop de
        ret

; LET target = value (LET may be left out).
stmt_let:
        call get_target
        push de
        push af
        ld a,(hl)
        cp TK_EQUAL
        jp nz,syntax_error
        inc hl
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

; Arrays. An array's block lies between names_end and arrays_end: the number
; of its elements (2 bytes), of its dimensions (1), each dimension's size (2
; bytes each: its largest subscript + 1), and the elements, 5 bytes each (a
; number or a descriptor), the first subscript counting fastest. Using an
; array before DIM makes it with 11 elements (0-10) in each of the
; dimensions it is used with.

MAX_DIMS        EQU 8
DEFAULT_SIZE    EQU 11

; The element of the array whose slot is at DE, its subscripts in brackets
; at HL: DE := the element's address, HL past the brackets.
array_element:
        push de
        rst 18h
        DEFB '('
        ld c,0
_subscript:
        push bc
        call eval_inner
        call need_number
        call acc_to_int
        pop bc
        push de                 ; the subscripts wait on the stack
        inc c
        ld a,(hl)
        inc hl
        cp ','
        jr z,_subscript
        cp ')'
        jp nz,syntax_error
        ld (arr_text),hl
        ld a,c
        ld (arr_count),a
        ld l,c
        ld h,0
        add hl,hl
        add hl,sp
        ld e,(hl)
        inc hl
        ld d,(hl)
        ex de,hl                ; the slot, below them
        push hl
        call array_block
        pop hl
        call z,auto_dim
        call array_block
        inc hl
        inc hl
        ld a,(arr_count)
        cp (hl)
        jp nz,subscript_error
        ld c,a
        ld b,0
        add hl,bc
        add hl,bc
        push hl
        pop ix                  ; the last size's high byte
        inc hl
        ld (arr_elems),hl
        ld b,a
        ld hl,0                 ; the element's number, from the last subscript
_index:
        pop de
        push bc
        ld b,(ix+0)
        ld c,(ix-1)             ; this dimension's size
        dec ix
        dec ix
        ex de,hl
        or a
        sbc hl,bc
        jp nc,subscript_error   ; (a negative one is a large one)
        add hl,bc
        ex de,hl
        ld a,h
        or l
        jr z,_first
        push de
        ld d,b
        ld e,c
        call multiply16         ; (it fits: the array has that many elements)
        pop de
_first:
        add hl,de
        pop bc
        djnz _index
        pop de                  ; the slot
        ld d,h
        ld e,l
        add hl,hl
        add hl,hl
        add hl,de
        ld de,(arr_elems)
        add hl,de
        ex de,hl
        ld hl,(arr_text)
        ret

subscript_error:
        ld a,ERR_SUBSCRIPT
        jp basic_error

; HL := the block of the array whose slot is at HL; Z when it has none yet.
array_block:
        inc hl
        inc hl
        ld a,(hl)
        or a
        ret z
        dec hl
        ld d,(hl)
        dec hl
        ld e,(hl)
        ld hl,(names_end)
        add hl,de
        ret

; Makes the array of the slot at HL with arr_count dimensions of the
; default size. Keeps HL.
auto_dim:
        ld a,(arr_count)
        push hl
        ld b,a
        ld hl,dim_sizes
_size:
        ld (hl),DEFAULT_SIZE
        inc hl
        ld (hl),0
        inc hl
        djnz _size
        pop hl
; Makes the array of the slot at HL with A dimensions (1 to MAX_DIMS) of
; the sizes in dim_sizes; its elements are zero (numbers 0, strings empty).
; Keeps HL.
dim_create:
        cp MAX_DIMS+1
        jp nc,subscript_error
        push hl
        push af
        ld b,a
        ld hl,1
        ld ix,dim_sizes
_product:
        ld e,(ix+0)
        ld d,(ix+1)
        inc ix
        inc ix
        push bc
        call multiply16
        pop bc
        ld a,d
        or e
        jp nz,out_of_memory
        djnz _product
        pop af
        push hl                 ; the elements
        push af
        ld d,h
        ld e,l
        add hl,hl
        jp c,out_of_memory
        add hl,hl
        jp c,out_of_memory
        add hl,de
        jp c,out_of_memory
        add a,a
        add a,3
        ld e,a
        ld d,0
        add hl,de               ; the block's bytes
        jp c,out_of_memory
        ld b,h
        ld c,l
        call need_room
        ld hl,(arrays_end)
        push hl
        add hl,bc
        ld (arrays_end),hl
        pop hl                  ; the block
        push hl
        dec bc
        ld d,h
        ld e,l
        inc de
        ld (hl),0
        ldir
        pop de                  ; the block
        pop af                  ; the dimensions
        pop bc                  ; the elements
        push de
        ex de,hl
        ld (hl),c
        inc hl
        ld (hl),b
        inc hl
        ld (hl),a
        inc hl
        ex de,hl
        add a,a
        ld c,a
        ld b,0
        ld hl,dim_sizes
        ldir                    ; the sizes
        pop de
        ld hl,(names_end)
        ex de,hl
        or a
        sbc hl,de               ; the block's offset from the arrays' start
        ex de,hl
        pop hl                  ; the slot
        ld (hl),e
        inc hl
        ld (hl),d
        inc hl
        ld (hl),1
        dec hl
        dec hl
        ret

; DIM array(size [, size ...]) [, array(...) ...]: each size is the largest
; subscript.
stmt_dim:
        ld a,(hl)
        inc hl
        and 0FEh                ; TK_NARR or TK_SARR
        cp TK_NARR
        jp nz,syntax_error
        call slot_at
        push de
        ex de,hl
        call array_block
        ld a,ERR_DIMENSION
        jp nz,basic_error
        ex de,hl
        rst 18h
        DEFB '('
        ld de,dim_sizes
_size:
        ld a,e
        cp LOW (dim_sizes+2*MAX_DIMS)
        jp nc,subscript_error
        push de
        call eval_int
        inc de
        bit 7,d
        jp nz,subscript_error   ; negative, or 32767 and more
        ld b,d
        ld c,e
        pop de
        ex de,hl
        ld (hl),c
        inc hl
        ld (hl),b
        inc hl
        ex de,hl
        ld a,(hl)
        inc hl
        cp ','
        jr z,_size
        cp ')'
        jp nz,syntax_error
        ld a,e
        sub LOW dim_sizes
        rrca
        ex (sp),hl
        call dim_create
        pop hl
        ld a,(hl)
        cp ','
        ret nz
        inc hl
        jr stmt_dim
