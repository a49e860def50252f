; Strings. A string value is reached through a descriptor: its address, its
; length (0-255) and two bytes the collector uses. Variables' slots and
; string array elements are descriptors; so are the temporary descriptors in
; temp_pool, which hold the strings an expression makes on its way (a
; literal, a joined string) until the statement has used them. eval empties
; the pool for each statement's expression.
;
; Strings that a program makes live in the heap, which grows down from
; heap_top to str_bottom. A string there is a block: its characters, then its
; length and the address of a descriptor that owns it, so that the heap can
; be walked down from its top. Strings in the program's text (literals, DATA)
; stay there; assigning one shares it. Only strings in the system's buffers
; (a direct line's literal, INPUT's line) are copied into the heap.
;
; When the heap meets the arrays, the collector runs: it forgets every
; block's owner; links each live descriptor to its block, chaining the
; descriptors that share one through their spare bytes; then walks the heap
; once from the top, moving each owned block up against the last and
; updating the descriptors of its chain. Its time grows with the heap's size
; and the number of strings, never with their square.

; fp_acc := a new temporary descriptor of the string at DE, C characters.
; Keeps HL.
temp_push:
        push hl
        ld hl,(temp_top)
        push hl
        ld a,l
        cp LOW TEMP_END
        jp z,too_complex
        ld (hl),e
        inc hl
        ld (hl),d
        inc hl
        ld (hl),c
        inc hl
        inc hl
        inc hl
        ld (temp_top),hl
        pop hl
        ld (fp_acc),hl
        ld a,1
        ld (val_type),a
        pop hl
        ret

; The temporary descriptor at DE is no longer needed, if it was the last
; one made. Keeps HL, DE.
temp_release:
        push hl
        ld hl,(temp_top)
        ld bc,-5
        add hl,bc
        or a
        sbc hl,de
        jr nz,_kept
        ld (temp_top),de
_kept:
        pop hl
        ret

; The string literal after the '"' at HL-1 (the line's end closes it).
string_literal:
        ld d,h
        ld e,l
        ld c,0
_char:
        ld a,(hl)
        or a
        jr z,temp_push
        inc hl
        cp '"'
        jr z,temp_push
        inc c
        jr _char

; DE := the address of fp_acc's string, C := its length. Keeps HL.
acc_string:
        push hl
        ld hl,(fp_acc)
        call desc_load
        pop hl
        ret

; DE := the address of the string whose descriptor is at HL, C := its
; length; HL moves to the length.
desc_load:
        ld e,(hl)
        inc hl
        ld d,(hl)
        inc hl
        ld c,(hl)
        ret

; Prints fp_acc's string.
print_string_value:
        call acc_string
        inc c
_char:
        dec c
        ret z
        ld a,(de)
        inc de
        call print_char
        jr _char

; Copies the string whose descriptor is at HL to DE, DE moving past it.
copy_string:
        push de
        call desc_load
        ex de,hl
        pop de
        ld b,0
        ld a,c
        or a
        ret z
        ldir
        ret

; DE := room in the heap for A characters (none for 0), BC := A. Collects
; the strings when the heap meets the arrays. Keeps HL.
str_alloc:
        push hl
        ld c,a
        ld b,0
        or a
        jr z,_none
        push bc
        inc bc
        inc bc
        inc bc
        call need_room
        pop bc
        ld hl,(str_bottom)
        dec hl
        ld (hl),b               ; no owner
        dec hl
        ld (hl),b
        dec hl
        ld (hl),c               ; the length
        sbc hl,bc               ; (carry is clear)
        ld (str_bottom),hl
        ex de,hl
_none:
        pop hl
        ret

; The variable or element at DE gets fp_acc's string.
string_assign:
        push hl
        push de
        call acc_string
        ld a,c
        or a
        jr z,_store
        ld a,d
        cp HIGH USER_START
        jr nc,_store            ; in the program or the heap: shared
        push de
        ld a,c
        call str_alloc
        pop hl
        push de
        push bc
        ldir
        pop bc
        pop de
_store:
        pop hl
        ld (hl),e
        inc hl
        ld (hl),d
        inc hl
        ld (hl),c
        ld de,(fp_acc)
        call temp_release
        pop hl
        ret

; fp_arg's string joined to fp_acc's: String too long past 255 characters.
string_concat:
        ld hl,(fp_arg)
        inc hl
        inc hl
        ld a,(hl)
        ld hl,(fp_acc)
        inc hl
        inc hl
        add a,(hl)
        ld c,a
        ld a,ERR_LONG
        jp c,basic_error
        ld a,c
        push af
        call str_alloc
        push de
        ld hl,(fp_arg)
        call copy_string
        ld hl,(fp_acc)
        call copy_string
        ld de,(fp_acc)
        call temp_release
        ld de,(fp_arg)
        call temp_release
        pop de
        pop af
        ld c,a
        jp temp_push

; Compares fp_arg's string with fp_acc's, character by character: Z when
; equal, carry when the left comes first.
string_compare:
        ld de,(fp_acc)
        call temp_release       ; (both stay where they are until the next
        ld de,(fp_arg)          ; string is made)
        call temp_release
        ld hl,(fp_acc)
        call desc_load
        push de
        ld b,c
        ld hl,(fp_arg)
        call desc_load
        pop hl
_char:
        ld a,c
        or a
        jr z,_left_ended
        ld a,b
        or a
        jr z,_right_ended
        ld a,(de)
        cp (hl)
        ret nz
        inc de
        inc hl
        dec c
        dec b
        jr _char
_left_ended:
        ld a,b
        or a
        ret z
        scf
        ret
_right_ended:
        or 1
        ret

; The collector (see above). Keeps every register.
str_collect:
        push af
        push bc
        push de
        push hl
        ld hl,(heap_top)
_forget:
        call _bottom
        jr z,_mark
        dec hl
        ld (hl),0
        dec hl
        ld (hl),0
        dec hl
        ld c,(hl)
        ld b,0
        sbc hl,bc               ; (carry is clear)
        jr _forget
_mark:
        call mark_roots
        ld hl,(heap_top)
        ld d,h
        ld e,l                  ; where the strings kept so far begin
_block:
        call _bottom
        jr z,_done
        dec hl
        ld b,(hl)
        dec hl
        ld c,(hl)               ; the owner
        dec hl
        ld a,(hl)               ; the length
        inc hl
        inc hl
        inc hl
        push bc
        ld c,a
        ld b,0
        inc bc
        inc bc
        inc bc                  ; the block's size
        ex (sp),hl
        ld a,h
        or l
        ex (sp),hl
        jr nz,_live
        pop af
        or a
        sbc hl,bc               ; a dead block is left behind
        jr _block
_live:
        dec hl
        dec de
        lddr
        inc hl
        inc de
        ex (sp),hl              ; the owner; the old start waits
_follow:
        ld (hl),e               ; each descriptor of the chain gets the new
        inc hl                  ; address
        ld (hl),d
        inc hl
        inc hl
        ld a,(hl)
        inc hl
        ld h,(hl)
        ld l,a
        or h
        jr nz,_follow
        pop hl
        jr _block
_done:
        ld (str_bottom),de
        pop hl
        pop de
        pop bc
        pop af
        ret
_bottom:                        ; Z when HL is the heap's bottom; carry clear
        push de
        ld de,(str_bottom)
        or a
        sbc hl,de
        add hl,de
        pop de
        ret

; Links every descriptor that holds a string to its block: the string
; variables, the string arrays' elements and the temporaries.
mark_roots:
        ld hl,(prog_end)
_entry:
        call names_ended
        jr z,_temporaries
        push hl
        call next_entry
        ex (sp),hl              ; the slot; the next entry waits
        cp '$'
        jr nz,_array
        call mark_string
        jr _next
_array:
        cp '('
        jr nz,_next
        ld a,b
        cp '$'
        jr nz,_next
        call array_block
        jr z,_next
        ld c,(hl)
        inc hl
        ld b,(hl)               ; the elements
        inc hl
        ld a,(hl)
        inc hl
        add a,a
        ld e,a
        ld d,0
        add hl,de
_element:
        push hl
        push bc
        call mark_string
        pop bc
        pop hl
        ld de,5
        add hl,de
        dec bc
        ld a,b
        or c
        jr nz,_element
_next:
        pop hl
        jr _entry
_temporaries:
        ld hl,temp_pool
_temporary:
        ld de,(temp_top)
        or a
        sbc hl,de
        add hl,de
        ret z
        push hl
        call mark_string
        pop hl
        ld de,5
        add hl,de
        jr _temporary

; Links the descriptor at HL to its block, if its string is in the heap.
mark_string:
        call desc_load
        ld b,0
        inc hl                  ; the spare bytes
        ld a,c
        or a
        ret z
        push hl
        ld hl,(str_bottom)
        scf
        sbc hl,de
        jr nc,_outside          ; below the heap
        ld hl,(heap_top)
        scf
        sbc hl,de
        jr c,_outside           ; above it
        ld l,c
        ld h,b
        add hl,de
        inc hl                  ; the block's owner
        pop de
        ld a,(hl)               ; the descriptor's spare bytes get the owner
        ld (de),a               ; so far, and the descriptor becomes it
        inc hl
        inc de
        ld a,(hl)
        ld (de),a
        dec de
        dec de
        dec de
        dec de
        ld (hl),d
        dec hl
        ld (hl),e
        ret
_outside:
        pop hl
        ret
