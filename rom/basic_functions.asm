; The functions, by token from TK_FIRST_FN. The first MATH_FUNCTIONS take
; one number in brackets and are the floating-point package's routines; the
; others have a routine each, called with HL past the token.

math_functions:
        DEFW fp_int, fp_abs, fp_sgn, fp_sqr, fp_sin, fp_cos, fp_tan, fp_atn, fp_exp, fp_log
function_routines:
        DEFW fn_rnd, fn_pi, fn_peek, fn_fre, fn_usr, fn_len
        DEFW fn_left, fn_right, fn_mid, fn_chr, fn_asc, fn_str, fn_val, fn_instr
        DEFW fn_point, fn_inkey, fn_timer, fn_in

; The function of token A.
eval_function:
        sub TK_FIRST_FN
        cp MATH_FUNCTIONS
        jr nc,_own
        push af
        call paren_number
        pop af
        ld de,math_functions
        call table_entry
        push hl
        ex de,hl
        call jump_hl
        pop hl
        ret
_own:
        sub MATH_FUNCTIONS
        cp TK_LAST_FN-TK_FIRST_FN-MATH_FUNCTIONS+1
        jp nc,syntax_error
        ld de,function_routines
        call table_entry
        push de
        ret

; DE := entry A of the table of addresses at DE. Keeps HL.
table_entry:
        push hl
        ex de,hl
        add a,a
        ld e,a
        ld d,0
        add hl,de
        ld e,(hl)
        inc hl
        ld d,(hl)
        pop hl
        ret

; A number in brackets.
paren_number:
        call paren_value
        jp need_number

; A string in brackets: DE := its descriptor.
paren_string:
        call paren_value
; DE := fp_acc's descriptor; Type mismatch for a number.
string_desc:
        call need_string
        ld de,(fp_acc)
        ret

; DE := the address of the string whose descriptor is at DE, C := its
; length. Keeps HL.
desc_de:
        push hl
        ex de,hl
        call desc_load
        pop hl
        ret

paren_value:
        rst 18h
        DEFB '('
        call eval_inner
        rst 18h
        DEFB ')'
        ret

; '(' and a string, then ',': DE := its descriptor.
string_then_comma:
        rst 18h
        DEFB '('
        call eval_inner
        call string_desc
        rst 18h
        DEFB ','
        ret

; A number from 0 to 255 at HL: A. Keeps DE.
inner_byte:
        push de
        call inner_int
        call byte_of_de
        pop de
        ret

; DE := a number at HL as an integer (-32768 to 32767).
inner_int:
        call eval_inner
        call need_number
        jp acc_to_int

; RND or RND(x): the next pseudo-random number from 0 to below 1.
fn_rnd:
        ld a,(hl)
        cp '('
        call z,paren_number
        push hl
        call fp_rnd
        pop hl
number_result:
        xor a
        ld (val_type),a
        ret

; RANDOMIZE [seed]: RND's sequence starts again from the seed, or from the
; frame counter without one.
stmt_randomize:
        ld a,(hl)
        call is_statement_end
        jr nz,_seed
        push hl
        ld hl,(frames)
        call set_int
        pop hl
        jr _seeded
_seed:
        call eval_number
_seeded:
        push hl
        call fp_randomize
        pop hl
        ret

; FRE(x): the bytes free for variables and strings, after collecting the
; strings.
fn_fre:
        call paren_value
        push hl
        ld a,(val_type)
        or a
        ld de,(fp_acc)
        call nz,temp_release
        call str_collect
        call free_bytes
        call fp_from_unsigned
        pop hl
        jr number_result

; PI
fn_pi:
        push hl
        ld hl,fp_pi
        ld de,fp_acc
        ld bc,5
        ldir
        pop hl
        jr number_result

; LEN(string)
fn_len:
        call paren_string
        call temp_release
        call desc_de
        ld a,c
small_result:
        push hl
        ld l,a
        ld h,0
        call set_int
        pop hl
        ret

; ASC(string): its first character's code; Bad argument when it is empty.
fn_asc:
        call paren_string
        call temp_release
        call desc_de
        ld a,c
        or a
        jp z,bad_argument
        ld a,(de)
        jr small_result

; CHR$(code)
fn_chr:
        rst 18h
        DEFB '('
        call inner_byte
        push af
        rst 18h
        DEFB ')'
        ld a,1
        call str_alloc
        pop af
        ld (de),a
        jp temp_push

; STR$(number): as PRINT writes it, without the space after it.
fn_str:
        call paren_number
        push hl
        ld de,num_buffer
        push de
        call fp_format
        pop hl
        ld b,-1
_length:
        inc b
        ld a,(hl)
        inc hl
        or a
        jr nz,_length
        ld a,b
        call str_alloc
        push de
        push bc
        ld hl,num_buffer
        ldir
        pop bc
        pop de
        pop hl
        jp temp_push

NUM_TEXT        EQU 24          ; num_buffer's size

; VAL(string): the number it starts with (after any spaces), else 0.
fn_val:
        call paren_string
        call temp_release
        push hl
        ex de,hl
        call desc_load
        ex de,hl
        ld a,c
        cp NUM_TEXT
        jr c,_fits
        ld c,NUM_TEXT-1
_fits:
        ld b,0
        ld de,num_buffer
        inc c
        dec c
        jr z,_copied
        ldir
_copied:
        xor a
        ld (de),a
        ld hl,num_buffer
        call skip_spaces
        call fp_parse
        jr nc,_number
        ld hl,0
        call set_int
_number:
        xor a
        ld (val_type),a
        pop hl
        ret

; LEFT$(string, n)
fn_left:
        call string_then_comma
        call inner_byte
        ld b,a
        ld c,0
        jr substring_close
; RIGHT$(string, n)
fn_right:
        call string_then_comma
        call inner_byte
        ld b,a
        push de
        call desc_de
        pop de
        ld a,c
        sub b
        jr nc,_from
        xor a
_from:
        ld c,a
        jr substring_close
; MID$(string, start [, n]): start counts from 1.
fn_mid:
        call string_then_comma
        call inner_byte
        or a
        jp z,bad_argument
        dec a
        ld c,a
        ld b,255
        ld a,(hl)
        cp ','
        jr nz,substring_close
        inc hl
        push bc
        call inner_byte
        pop bc
        ld b,a
substring_close:
        rst 18h
        DEFB ')'
; The part of the string whose descriptor is at DE from character C, at most
; B characters.
substring:
        push hl
        push de
        ex de,hl
        inc hl
        inc hl
        ld a,(hl)               ; the length
        sub c
        jr nc,_within
        xor a
_within:
        cp b
        jr c,_count
        ld a,b
_count:
        ld b,c
        push bc                 ; the first character's place
        call str_alloc          ; DE, BC := the count
        pop af                  ; A := that place
        pop hl                  ; the descriptor (its string may have moved)
        push de
        push bc
        push hl
        call desc_load
        ex de,hl
        ld e,a
        ld d,0
        add hl,de
        pop de
        call temp_release
        pop bc
        pop de
        push de
        push bc
        ld a,c
        or a
        jr z,_empty
        ldir
_empty:
        pop bc
        pop de
        pop hl
        jp temp_push

; INSTR(string, part): where part first starts in string (from 1), or 0.
fn_instr:
        call string_then_comma
        push de                 ; the string's descriptor
        call eval_inner
        call string_desc        ; the part's
        rst 18h
        DEFB ')'
        call temp_release       ; (both stay put until the next string is made)
        call desc_de
        ex (sp),hl              ; the text waits
        push de
        push bc
        ex de,hl
        call temp_release
        call desc_de
        ex de,hl                ; HL: the string
        ld a,c
        pop bc                  ; C: the part's length
        pop de                  ; DE: the part
        sub c
        jr c,_none              ; the part is longer
        inc a
        ld b,a                  ; the places it could start at
        ld a,1
_place:
        push af
        push bc
        push de
        push hl
        ld b,c
        inc b
_compare:
        dec b
        jr z,_found
        ld a,(de)
        cp (hl)
        inc de
        inc hl
        jr z,_compare
        pop hl
        pop de
        pop bc
        pop af
        inc hl
        inc a
        djnz _place
_none:
        xor a
        jr _result
_found:
        pop hl
        pop de
        pop bc
        pop af
_result:
        pop hl
        jp small_result
