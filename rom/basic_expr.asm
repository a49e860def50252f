; The expression evaluator. A value is left in fp_acc, its type in val_type:
; a number in the 5-byte form, or a string, for which fp_acc holds the
; address of its descriptor (a variable's slot, an array element, or a
; temporary descriptor; see basic_strings.asm).
;
; Binary operators are parsed by precedence climbing: eval_level reads an
; operand, then every operator binding tighter than its floor B, each with
; its right operand read at the operator's own precedence (so all of them
; group left to right). The left operand waits on the stack. Expressions
; nest (brackets, a function's or an array's arguments, unary operators) at
; most MAX_DEPTH deep; deeper gives Expression too complex long before the
; stack could reach the system's variables.
;
; Small integers take a fast path in 16-bit arithmetic: + - * and the
; comparisons of two of them, and / when it divides exactly. Anything else,
; or an overflow, goes to the floating-point package, whose results these
; equal exactly.

MAX_DEPTH       EQU 24
PREC_NOT        EQU 3           ; NOT's operand holds the comparisons
PREC_NEG        EQU 7           ; unary minus binds looser than ^ only

; Each binary operator by token from TK_PLUS: precedence, an extra byte for
; its routine (which comparison), the routine.
operators:
        DEFB 5,0
        DEFW op_add             ; +
        DEFB 5,0
        DEFW op_subtract        ; -
        DEFB 6,0
        DEFW op_multiply        ; *
        DEFB 6,0
        DEFW op_divide          ; /
        DEFB 8,0
        DEFW op_power           ; ^
        DEFB 4,2
        DEFW op_compare         ; =   (bit 0 less, bit 1 equal, bit 2 greater)
        DEFB 4,5
        DEFW op_compare         ; <>
        DEFB 4,1
        DEFW op_compare         ; <
        DEFB 4,4
        DEFW op_compare         ; >
        DEFB 4,3
        DEFW op_compare         ; <=
        DEFB 4,6
        DEFW op_compare         ; >=
        DEFB 2,0
        DEFW op_and             ; AND
        DEFB 1,0
        DEFW op_or              ; OR
        DEFB 6,0
        DEFW op_mod             ; MOD

; A numeric expression at HL.
eval_number:
        call eval
        jr need_number

; DE := a numeric expression at HL as an integer (-32768 to 32767).
eval_int:
        call eval_number
acc_to_int:
        push hl
        call fp_to_signed
        ex de,hl
        pop hl
        ret

; DE := a numeric expression at HL as an address (-32768 to 65535).
eval_word:
        call eval_number
acc_to_word:
        push hl
        call fp_to_word
        ex de,hl
        pop hl
        ret

; A, E := a numeric expression at HL from 0 to 255, else Bad argument.
eval_byte:
        call eval_int
byte_of_de:
        ld a,d
        or a
        jp nz,bad_argument
        ld a,e
        ret

need_number:
        ld a,(val_type)
        or a
        ret z
        jp type_mismatch

need_string:
        ld a,(val_type)
        or a
        ret nz
        jp type_mismatch

; Any expression at HL, starting a statement's use of temporary strings.
eval:
        ld de,temp_pool
        ld (temp_top),de
        xor a
        ld (eval_depth),a
        ld b,a
        jr eval_level

; Any expression at HL, inside another.
eval_inner:
        ld b,0
; The same of operators binding tighter than B.
eval_nested:
        ld a,(eval_depth)
        inc a
        cp MAX_DEPTH+1
        jp nc,too_complex
        ld (eval_depth),a
        call eval_level
        ld a,(eval_depth)
        dec a
        ld (eval_depth),a
        ret

; The expression at HL of operators binding tighter than B.
eval_level:
        push bc
        call eval_operand
        pop bc
_operator:
        ld a,(hl)
        sub TK_PLUS
        ret c
        cp TK_LAST_OP-TK_PLUS+1
        ret nc
        push hl
        add a,a
        add a,a
        ld e,a
        ld d,0
        ld hl,operators
        add hl,de
        ld a,b
        cp (hl)
        jr nc,_weaker
        ld c,(hl)               ; the operator's precedence
        inc hl
        ld a,(hl)
        inc hl
        ld e,(hl)
        inc hl
        ld d,(hl)
        pop hl
        inc hl
        push bc                 ; the floor
        push de                 ; the routine
        push af                 ; its extra byte
        ld de,(fp_acc)          ; the left operand
        push de
        ld de,(fp_acc+2)
        push de
        ld a,(val_type)
        ld d,a
        ld a,(fp_acc+4)
        ld e,a
        push de
        ld b,c
        call eval_level
        pop de
        ld a,e
        ld (fp_arg+4),a
        ld a,d
        ld (arg_type),a
        pop de
        ld (fp_arg+2),de
        pop de
        ld (fp_arg),de
        pop af
        pop de
        push hl
        ld c,a
        ex de,hl
        call jump_hl
        pop hl
        pop bc
        jr _operator
_weaker:
        pop hl
        ret

jump_hl:
        jp (hl)

; One operand at HL: a constant, variable, array element, string, function
; or bracket, or a unary operator and its operand.
eval_operand:
        ld a,(hl)
        inc hl
        cp TK_NVAR
        jr nz,_not_variable
        ld e,(hl)
        inc hl
        ld d,(hl)
        inc hl
        push hl
        ld hl,(prog_end)
        add hl,de
        ld de,fp_acc
        ldi
        ldi
        ldi
        ldi
        ldi
        pop hl
        xor a
        ld (val_type),a
        ret
_not_variable:
        cp TK_INT
        jr nz,_not_int
        ld e,(hl)
        inc hl
        ld d,(hl)
        inc hl
        ex de,hl
        call set_int
        ex de,hl
        ret
_not_int:
        cp TK_NUM
        jr z,_constant
        cp TK_MINUS
        jr z,_negate
        cp '('
        jr z,_bracket
        cp '"'
        jp z,string_literal
        cp TK_SVAR
        jr z,_string_variable
        cp TK_NARR
        jr z,_array
        cp TK_SARR
        jr z,_array
        cp TK_NOT
        jp z,_not
        cp TK_PLUS
        jr z,eval_operand
        cp TK_FIRST_FN
        jp nc,eval_function
        jp syntax_error
_constant:
        ld de,fp_acc
        ldi
        ldi
        ldi
        ldi
        ldi
        ld e,(hl)               ; skip the text as typed
        ld d,0
        inc hl
        add hl,de
        xor a
        ld (val_type),a
        ret
_negate:
        ld b,PREC_NEG
        call eval_nested
        call need_number
        ld a,(fp_acc+4)
        or a
        jp nz,_float_negate
        push hl
        ld hl,(fp_acc)
        call fp_negate_hl
        jp pe,_overflow
        ld (fp_acc),hl
        pop hl
        ret
_overflow:
        pop hl
_float_negate:
        push hl
        call fp_neg
        pop hl
        ret
_bracket:
        call eval_inner
        rst 18h
        DEFB ')'
        ret
_string_variable:
        call slot_at
        push hl
        ex de,hl
        jr _string_value
_array:
        dec hl
        call get_target
        or a
        jr nz,_string_element
        push hl
        ex de,hl
        ld de,fp_acc
        ldi
        ldi
        ldi
        ldi
        ldi
        pop hl
        xor a
        ld (val_type),a
        ret
_string_element:
        push hl
        ex de,hl
_string_value:
        ld (fp_acc),hl
        ld a,1
        ld (val_type),a
        pop hl
        ret
_not:
        ld b,PREC_NOT
        call eval_nested
        call need_number
        call acc_to_int
        ld a,d
        cpl
        ld d,a
        ld a,e
        cpl
        ld e,a
        ex de,hl
        call set_int
        ex de,hl
        ret

; fp_acc := HL as a small integer, a number.
set_int:
        ld (fp_acc),hl
        xor a
        ld (fp_acc+2),a
        ld (fp_acc+3),a
        ld (fp_acc+4),a
        ld (val_type),a
        ret

; Compares HL with DE as signed integers: Z when equal, carry when HL < DE.
int_compare:
        ld a,h
        xor 80h
        ld h,a
        ld a,d
        xor 80h
        ld d,a
        or a
        sbc hl,de
        ret

; The operators. Each takes fp_arg (left) and fp_acc (right) with their types
; and leaves the result in fp_acc; HL is free.

; Z when both operands are numbers, NZ when both are strings, else Type
; mismatch.
same_types:
        ld a,(arg_type)
        ld hl,val_type
        cp (hl)
        jp nz,type_mismatch
        or a
        ret

; Both must be numbers; Z when both are small integers, with DE = the left,
; HL = the right.
numbers:
        call same_types
        jp nz,type_mismatch
small_ints:
        ld a,(fp_arg+4)
        ld hl,fp_acc+4
        or (hl)
        ret nz
        ld de,(fp_arg)
        ld hl,(fp_acc)
        ret

op_add:
        call same_types
        jp nz,string_concat
        call small_ints
        jp nz,fp_add
        adc hl,de               ; (carry is clear)
        jp pe,fp_add
        ld (fp_acc),hl
        ret

op_subtract:
        call numbers
        jp nz,fp_sub
        ex de,hl
        sbc hl,de
        jp pe,fp_sub
        ld (fp_acc),hl
        ret

op_multiply:
        call numbers
        jp nz,fp_mul
        call int_mul
        jp c,fp_mul
        ld (fp_acc),hl
        ret

op_divide:
        call numbers
        jp nz,fp_div
        ld a,h
        or l
        jp z,fp_div             ; which gives Division by zero
        call int_div
        jp c,fp_div
        ld (fp_acc),hl
        ret

op_power:
        call numbers
        jp fp_pow

; The comparisons, C = which outcomes are true (bit 0 less, 1 equal, 2
; greater): -1 when true, else 0.
op_compare:
        call same_types
        jr nz,_strings
        call small_ints
        jr nz,_floats
        ex de,hl
        call int_compare
        jr _outcome
_floats:
        push bc
        call fp_compare
        pop bc
        or a                    ; Z equal, M less
        ld a,2
        jr z,_bit
        ld a,1
        jp m,_bit
        ld a,4
        jr _bit
_strings:
        push bc
        call string_compare
        pop bc
_outcome:                       ; Z equal, carry less
        ld a,2
        jr z,_bit
        ld a,1
        jr c,_bit
        ld a,4
_bit:
        and c
        ld hl,0
        jr z,_store
        dec hl
_store:
        jp set_int

; AND, OR, MOD: on integers (-32768 to 32767).
op_and:
        call two_ints
        ld a,d
        and h
        ld h,a
        ld a,e
        and l
        ld l,a
        jp set_int

op_or:
        call two_ints
        ld a,d
        or h
        ld h,a
        ld a,e
        or l
        ld l,a
        jp set_int

; The remainder has the sign of the left operand: -7 MOD 3 is -1.
op_mod:
        call two_ints
        ld a,h
        or l
        ld a,ERR_DIVISION
        jp z,basic_error
        ld a,d
        push af                 ; the left's sign
        call abs_hl
        ex de,hl
        call abs_hl
        ex de,hl
        call udiv16
        ex de,hl                ; the remainder
        pop af
        or a
        call m,fp_negate_hl
        jp set_int

; DE := the left operand, HL := the right, as integers.
two_ints:
        call numbers
        ret z
        call fp_to_signed
        push hl
        ld hl,fp_arg
        ld de,fp_acc
        ld bc,5
        ldir
        call fp_to_signed
        ex de,hl
        pop hl
        ret

; HL := |HL| (32768 for -32768, read unsigned).
abs_hl:
        bit 7,h
        ret z
        jp fp_negate_hl

; HL := HL * DE, signed; carry set when it does not fit in 16 bits.
int_mul:
        ld a,h
        xor d
        push af                 ; the product's sign
        call abs_hl
        ex de,hl
        call abs_hl
        call multiply16         ; DE:HL
        ld a,d
        or e
        jr nz,_overflow
        pop af
        jp m,_negative
        bit 7,h
        jr nz,_fails
        ret
_negative:
        call fp_negate_hl
        ld a,h                  ; fits if now negative or zero
        or l
        ret z
        bit 7,h
        ret nz
_fails:
        scf
        ret
_overflow:
        pop af
        scf
        ret

; HL := DE / HL, signed, when it divides exactly (HL not 0); else carry set.
int_div:
        ld a,h
        xor d
        push af                 ; the quotient's sign
        call abs_hl
        ex de,hl
        call abs_hl
        ex de,hl
        call udiv16             ; HL quotient, DE remainder
        ld a,d
        or e
        jr nz,_inexact
        pop af
        jp p,_positive
        call fp_negate_hl
        or a
        ret
_positive:
        bit 7,h                 ; 32768 does not fit
        ret z
        scf
        ret
_inexact:
        pop af
        scf
        ret

; HL := DE / HL, DE := the remainder, unsigned (HL not 0).
udiv16:
        ld b,h
        ld c,l
        ld hl,0
        ld a,16
_bit:
        ex de,hl
        add hl,hl
        ex de,hl
        adc hl,hl
        or a
        sbc hl,bc
        jr nc,_one
        add hl,bc
        jr _next
_one:
        inc e
_next:
        dec a
        jr nz,_bit
        ex de,hl
        ret
