; BASIC's tokens: the keyword table, the tokenizer that turns a typed line
; into its stored form, and the detokenizer that turns it back into text for
; LIST and EDIT.
;
; A stored line is its length (2 bytes, the whole line), its number (2), its
; items and a 0. An item is a keyword or operator token (80h-FFh), a
; character (20h-7Fh: punctuation, and the text of strings, REM and DATA as
; typed), or a marker with its operand:
;   TK_INT  value (2)                a constant 0-32767 typed in its plain form
;   TK_NUM  value (5) length (1) text  any other constant, and its text as typed
;   TK_LINE number (2) address (2)   a line target; the address of the line is
;                                    filled in before a run, 0 when there is none
;   TK_NVAR, TK_SVAR, TK_NARR, TK_SARR offset (2)  a numeric or string variable
;                                    or array: its value slot's offset from the
;                                    name table's start (prog_end)
; Spaces outside strings, REM and DATA are dropped; LIST puts them back
; around keywords.

TK_INT          EQU 01h
TK_NUM          EQU 02h
TK_LINE         EQU 03h
TK_NVAR         EQU 04h             ; the markers of variables: bit 0 set for a
TK_SVAR         EQU 05h             ; string, bit 1 for an array
TK_NARR         EQU 06h
TK_SARR         EQU 07h

; Statements, 80h-AFh (A6h-AFh are kept for the statements still to come).
TK_FIRST_STMT   EQU 80h
TK_END          EQU 80h
TK_FOR          EQU 81h
TK_NEXT         EQU 82h
TK_DATA         EQU 83h
TK_INPUT        EQU 84h
TK_DIM          EQU 85h
TK_READ         EQU 86h
TK_LET          EQU 87h
TK_GOTO         EQU 88h
TK_RUN          EQU 89h
TK_IF           EQU 8Ah
TK_RESTORE      EQU 8Bh
TK_GOSUB        EQU 8Ch
TK_RETURN       EQU 8Dh
TK_REM          EQU 8Eh
TK_STOP         EQU 8Fh
TK_ON           EQU 90h
TK_PRINT        EQU 91h
TK_CONT         EQU 92h
TK_LIST         EQU 93h
TK_CLEAR        EQU 94h
TK_NEW          EQU 95h
TK_POKE         EQU 96h
TK_CALL         EQU 97h
TK_RANDOMIZE    EQU 98h
TK_EDIT         EQU 99h
TK_MON          EQU 9Ah
TK_LAST_STMT    EQU 0A5h
; Words inside statements, B0h-B5h; the binary operators, B6h-C3h, in the
; order of the evaluator's table (C4h-C7h kept for later).
TK_THEN         EQU 0B0h
TK_ELSE         EQU 0B1h
TK_TO           EQU 0B2h
TK_STEP         EQU 0B3h
TK_TAB          EQU 0B4h
TK_NOT          EQU 0B5h
TK_PLUS         EQU 0B6h
TK_MINUS        EQU 0B7h
TK_EQUAL        EQU 0BBh
TK_NE           EQU 0BCh
TK_LT           EQU 0BDh
TK_GT           EQU 0BEh
TK_LE           EQU 0BFh
TK_GE           EQU 0C0h
TK_LAST_OP      EQU 0C3h
; Functions from C8h (E4h-E7h kept for later): first the ones of one number
; that the floating-point package computes.
TK_FIRST_FN     EQU 0C8h
MATH_FUNCTIONS  EQU 10
TK_LAST_FN      EQU 0E3h

; The names, in token order, each ending with its last character + 80h; a
; group starts with its first token and ends with 0.
keywords:
        DEFB TK_FIRST_STMT
        DEFB "EN","D"+80h, "FO","R"+80h, "NEX","T"+80h, "DAT","A"+80h
        DEFB "INPU","T"+80h, "DI","M"+80h, "REA","D"+80h, "LE","T"+80h
        DEFB "GOT","O"+80h, "RU","N"+80h, "I","F"+80h, "RESTOR","E"+80h
        DEFB "GOSU","B"+80h, "RETUR","N"+80h, "RE","M"+80h, "STO","P"+80h
        DEFB "O","N"+80h, "PRIN","T"+80h, "CON","T"+80h, "LIS","T"+80h
        DEFB "CLEA","R"+80h, "NE","W"+80h, "POK","E"+80h, "CAL","L"+80h
        DEFB "RANDOMIZ","E"+80h, "EDI","T"+80h, "MO","N"+80h, "CL","S"+80h
        DEFB "LOCAT","E"+80h, "PSE","T"+80h, "LIN","E"+80h, "CIRCL","E"+80h
        DEFB "SOUN","D"+80h, "BEE","P"+80h, "DELA","Y"+80h, "OU","T"+80h
        DEFB "SAV","E"+80h, "LOA","D"+80h, 0
        DEFB TK_THEN
        DEFB "THE","N"+80h, "ELS","E"+80h, "T","O"+80h, "STE","P"+80h
        DEFB "TA","B"+80h, "NO","T"+80h
        DEFB "+"+80h, "-"+80h, "*"+80h, "/"+80h, "^"+80h, "="+80h
        DEFB "<",">"+80h, "<"+80h, ">"+80h, "<","="+80h, ">","="+80h
        DEFB "AN","D"+80h, "O","R"+80h, "MO","D"+80h, 0
        DEFB TK_FIRST_FN
        DEFB "IN","T"+80h, "AB","S"+80h, "SG","N"+80h, "SQ","R"+80h
        DEFB "SI","N"+80h, "CO","S"+80h, "TA","N"+80h, "AT","N"+80h
        DEFB "EX","P"+80h, "LO","G"+80h, "RN","D"+80h, "P","I"+80h
        DEFB "PEE","K"+80h, "FR","E"+80h, "US","R"+80h, "LE","N"+80h
        DEFB "LEFT","$"+80h, "RIGHT","$"+80h, "MID","$"+80h, "CHR","$"+80h
        DEFB "AS","C"+80h, "STR","$"+80h, "VA","L"+80h, "INST","R"+80h
        DEFB "POIN","T"+80h, "INKEY","$"+80h, "TIME","R"+80h, "I","N"+80h, 0
        DEFB 0

; The keywords after which numbers are line targets.
target_keywords:
        DEFB TK_GOTO, TK_GOSUB, TK_THEN, TK_ELSE, TK_RUN, TK_RESTORE, TK_LIST, TK_EDIT
TARGET_KEYWORDS EQU $-target_keywords

; The operators typed as one character, in token order from TK_PLUS.
operator_chars:
        DEFB "+-*/^="

; Carry set when A is a letter or a digit.
is_alnum:
        cp '0'
        ccf
        ret nc
        cp '9'+1
        ret c
; Carry set when A is a letter, either case.
is_letter:
        cp 'A'
        ccf
        ret nc
        cp 'Z'+1
        ret c
        cp 'a'
        ccf
        ret nc
        cp 'z'+1
        ret

; DE := the decimal number at HL (up to 65535), HL past its digits.
read_decimal:
        ld de,0
_digit:
        ld a,(hl)
        sub '0'
        cp 10
        ret nc
        inc hl
        push hl
        ld h,d
        ld l,e
        add hl,hl
        jr c,_too_big
        add hl,hl
        jr c,_too_big
        add hl,de
        jr c,_too_big
        add hl,hl
        jr c,_too_big
        ld e,a
        ld d,0
        add hl,de
        jr c,_too_big
        ex de,hl
        pop hl
        jr _digit
_too_big:
        jp syntax_error

; Tokenizes the typed line at HL into tok_buffer. Its number is 0 for a
; direct line. Names met for the first time join the name table.
tokenize:
        call skip_spaces
        ld de,0
        sub '0'
        cp 10
        jr nc,_numbered
        call read_decimal
        ld a,d
        or e
        jp z,syntax_error       ; line 0
_numbered:
        ld (tok_buffer+2),de
        ld de,tok_buffer+4
_plain:
        xor a
        ld (tok_mode),a
_next:
        ld a,(hl)
        or a
        jr z,_end
        inc hl
        cp ' '
        jr z,_next
        cp '"'
        jr z,_string
        cp '?'
        ld b,TK_PRINT
        jp z,_keyword
        cp '<'
        jr z,_less
        cp '>'
        jr z,_greater
        cp '.'
        jr z,_number
        cp '0'
        jr c,_operator
        cp '9'+1
        jr c,_number
        call is_letter
        jp c,_word
_operator:
        push hl
        ld hl,operator_chars
        ld bc,6
        cpir
        pop hl
        jr nz,_char
        ld a,TK_PLUS+5
        sub c
        jr _token
_less:
        ld a,(hl)
        ld b,TK_LE
        cp '='
        jr z,_pair
        ld b,TK_NE
        cp '>'
        jr z,_pair
        ld a,TK_LT
        jr _token
_greater:
        ld a,(hl)
        ld b,TK_GE
        cp '='
        jr z,_pair
        ld a,TK_GT
        jr _token
_pair:
        inc hl
        ld a,b
_token:
        call emit
        cp TK_MINUS             ; LIST 10-20 and ON ... GOTO 10,20 keep
        jr z,_next              ; reading line targets
        jr _plain
_char:
        call emit
        cp ','
        jr z,_next
        jr _plain
_end:
        call emit
        ex de,hl
        ld de,tok_buffer
        or a
        sbc hl,de
        ld (tok_buffer),hl
        ret
_string:
        call emit
        ld a,(hl)
        or a
        jp z,_plain             ; the line's end closes it
        inc hl
        cp '"'
        jr nz,_string
        call emit
        jp _plain
_number:
        dec hl
        ld a,(tok_mode)
        or a
        jr z,_constant
        ld a,(hl)
        inc hl
        cp '.'
        jr z,_char
        dec hl
        push de
        call read_decimal
        ld b,d
        ld c,e
        pop de
        ld a,TK_LINE
        call emit
        ld a,c
        call emit
        ld a,b
        call emit
        xor a
        call emit
        call emit
        jp _next
_constant:
        push de
        push hl
        call fp_parse
        pop bc                  ; the text is from BC to HL
        pop de
        jr nc,_parsed
        ld h,b
        ld l,c
        ld a,(hl)
        inc hl
        jr _char
_parsed:
        call emit_constant
        jp _next
_word:
        dec hl
        ld b,h
        ld c,l
_scan:
        inc hl
        ld a,(hl)
        call is_alnum
        jr c,_scan
        cp '$'
        jr nz,_scanned
        inc hl
_scanned:
        ld a,l
        sub c
        push de
        push hl
        ld h,b
        ld l,c
        ld c,a                  ; HL = the word, C = its length
        call find_keyword
        jr nc,_name
        pop hl
        pop de
        ld b,a
_keyword:
        ld a,b
        call emit
        cp TK_REM
        jr z,_rem
        cp TK_DATA
        jr z,_data
        push hl
        ld hl,target_keywords
        ld bc,TARGET_KEYWORDS
        cpir
        pop hl
        jp nz,_plain
        ld a,1
        ld (tok_mode),a
        jp _next
_name:
        ex (sp),hl              ; HL = the word's end, the start on the stack
        ld a,(hl)
        cp '('
        ex (sp),hl
        jr nz,_found_length
        inc c                   ; an array's name includes its '('
_found_length:
        call find_name
        ld b,e
        ld c,d
        pop hl
        pop de
        call emit
        ld a,b
        call emit
        ld a,c
        call emit
        jp _plain
_rem:
        ld a,(hl)
        or a
        jp z,_end
        inc hl
        call emit
        jr _rem
_data:
        ld c,0                  ; 1 inside quotes
_data_char:
        ld a,(hl)
        or a
        jp z,_end
        cp '"'
        jr nz,_unquoted
        inc c
        res 1,c
_unquoted:
        bit 0,c
        jr nz,_data_copy
        cp ':'
        jp z,_plain
_data_copy:
        inc hl
        call emit
        jr _data_char

; Puts A at DE in tok_buffer, keeping A; Out of memory when it is full.
emit:
        ld (de),a
        inc de
        push af
        ld a,d
        cp HIGH TOK_END
        jp nc,out_of_memory
        pop af
        ret

; The constant typed from BC to HL, whose value fp_acc holds, goes to DE:
; as TK_INT when fp_format gives back the same text, else as TK_NUM.
emit_constant:
        push hl
        push bc
        ld a,(fp_acc+4)
        or a
        jr nz,_long
        ld a,(fp_acc+1)
        or a
        jp m,_long
        push de
        ld de,num_buffer
        call fp_format
        pop de
        pop bc
        pop hl
        push hl
        push bc
        push de
        ld de,num_buffer+1      ; past the sign's space
_same:
        ld a,(de)
        or a
        jr z,_formatted
        ld a,c
        cp l
        jr z,_shorter           ; the text ended first (it is under 256 long)
        ld a,(bc)
        ex de,hl
        cp (hl)
        ex de,hl
        jr nz,_differ
        inc bc
        inc de
        jr _same
_shorter:
        or 1
        jr _differ
_formatted:
        ld a,c
        cp l
_differ:
        pop de
        jr nz,_long
        ld a,TK_INT
        call emit
        ld a,(fp_acc)
        call emit
        ld a,(fp_acc+1)
        call emit
        pop bc
        pop hl
        ret
_long:
        ld a,TK_NUM
        call emit
        ld hl,fp_acc
        ld b,5
_value:
        ld a,(hl)
        call emit
        inc hl
        djnz _value
        pop bc
        pop hl
        ld a,l
        sub c
        call emit
_text:
        ld a,(bc)
        call emit
        inc bc
        ld a,c
        cp l
        jr nz,_text
        ret

; Looks the word at HL, C characters, up among the keywords: carry set and
; A = its token when it is one. Keeps HL and C.
find_keyword:
        ld de,keywords
_group:
        ld a,(de)
        or a
        ret z
        ld b,a
        inc de
_name:
        ld a,(de)
        or a
        jr z,_next_group
        push hl
        push bc
_char:
        ld a,(hl)
        call upper_case
        ld b,a
        ld a,(de)
        inc de
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
        jr c,_skipped
        ld a,(de)
        inc de
        jr _skip
_skipped:
        pop bc
        pop hl
        inc b
        jr _name
_found:
        pop bc
        pop hl
        ld a,b
        scf
        ret
_next_group:
        inc de
        jr _group

; DE := the name of token A (its first character), or carry set.
keyword_name:
        ld c,a
        ld hl,keywords
_group:
        ld a,(hl)
        or a
        scf
        ret z
        ld b,a
        inc hl
_name:
        ld a,(hl)
        or a
        jr z,_next_group
        ld a,b
        cp c
        jr z,_found
_skip:
        bit 7,(hl)
        inc hl
        jr z,_skip
        inc b
        jr _name
_next_group:
        inc hl
        jr _group
_found:
        ex de,hl
        or a
        ret

; The detokenizer: sends the line whose header is at HL to out_char as LIST
; shows it: its number, a space, and its items.
list_line:
        inc hl
        inc hl
        ld e,(hl)
        inc hl
        ld d,(hl)
        inc hl
        push hl
        ex de,hl
        call out_uint
        ld a,' '
        call out_char
        pop hl
_item:
        ld a,(hl)
        inc hl
        or a
        ret z
        cp TK_INT
        jr z,_int
        cp TK_NUM
        jr z,_num
        cp TK_LINE
        jr z,_target
        cp TK_SARR+1
        jr c,_variable
        cp '"'
        jr z,_string
        cp 80h
        jr nc,_keyword
_char:
        call out_char
        jr _item
_int:
        ld e,(hl)
        inc hl
        ld d,(hl)
        inc hl
        jr _number
_target:
        ld e,(hl)
        inc hl
        ld d,(hl)
        inc hl
        inc hl
        inc hl
_number:
        push hl
        ex de,hl
        call out_uint
        pop hl
        jr _item
_num:
        ld de,5
        add hl,de
        ld b,(hl)
        inc hl
_text:
        ld a,(hl)
        inc hl
        call out_char
        djnz _text
        jr _item
_string:
        call out_char
        ld a,(hl)
        or a
        jr z,_item
        inc hl
        cp '"'
        jr nz,_string
        jr _char
_variable:
        call slot_at
        push hl
        ex de,hl
        ld de,5
        add hl,de
_name:
        ld a,(hl)
        inc hl
        ld b,a
        and 7Fh
        cp '('                  ; an array's name ends with it; the text has its own
        call nz,out_char
        bit 7,b
        jr z,_name
        pop hl
        jr _item
_keyword:
        push hl
        call keyword_name       ; DE
        pop hl
        ld a,(de)
        call is_letter
        jr nc,_symbol
        ; A word: a space before it after a name, number, string or ')'
        ld a,(list_prev)
        cp ')'
        jr z,_space
        cp '"'
        jr z,_space
        cp '$'
        jr z,_space
        cp '.'
        jr z,_space
        call is_alnum
        jr nc,_spelled
_space:
        ld a,' '
        call out_char
_spelled:
        call out_name
        ; and one after it, but for functions, TAB, REM and DATA
        dec hl
        ld a,(hl)
        inc hl
        cp TK_TAB
        jp z,_item
        cp TK_FIRST_FN
        jp nc,_item
        cp TK_REM
        jp z,_item
        cp TK_DATA
        jp z,_item
        ld a,(hl)
        or a
        jp z,_item
        cp ':'
        jp z,_item
        ld a,' '
        call out_char
        jp _item
_symbol:
        call out_name
        jp _item

; Sends the name at DE, up to its last character (+ 80h), to out_char.
out_name:
        ld a,(de)
        inc de
        push af
        and 7Fh
        call out_char
        pop af
        rla
        jr nc,out_name
        ret

; Sends HL as decimal digits to out_char.
out_uint:
        ld de,num_buffer
        push de
        call utoa
        pop de
_char:
        ld a,(de)
        or a
        ret z
        call out_char
        inc de
        jr _char

; Where the detokenizer's characters go, as out_ptr says: printed, counted
; only (0FFFFh), or stored, up to LINE_MAX of them. Keeps every register.
out_char:
        push hl
        ld (list_prev),a
        ld hl,(out_count)
        inc hl
        ld (out_count),hl
        ld hl,(out_ptr)
        inc h
        jr z,_done              ; counting only
        dec h
        jr nz,_store
        call print_char
        jr _done
_store:
        push af
        ld a,(out_count+1)
        or a
        jr nz,_full
        ld a,(out_count)
        cp LINE_MAX+1
        jr nc,_full
        pop af
        ld (hl),a
        inc hl
        ld (out_ptr),hl
        push af
_full:
        pop af
_done:
        pop hl
        ret

; Writes HL (0-65535) as decimal digits at DE and a zero; DE ends at the zero.
utoa:
        push bc
        ld c,0
_divide:
        call div10
        add a,'0'
        push af
        inc c
        ld a,h
        or l
        jr nz,_divide
_store:
        pop af
        ld (de),a
        inc de
        dec c
        jr nz,_store
        xor a
        ld (de),a
        pop bc
        ret

; HL := HL / 10, A := the remainder.
div10:
        push bc
        xor a
        ld b,16
_bit:
        add hl,hl
        rla
        cp 10
        jr c,_next
        sub 10
        inc l
_next:
        djnz _bit
        pop bc
        ret

; Prints HL (0-65535) in decimal.
print_uint:
        ld de,num_buffer
        push de
        call utoa
        pop hl
        jp print_string

; Prints the number of the line whose header is at HL.
print_line_number:
        inc hl
        inc hl
        ld a,(hl)
        inc hl
        ld h,(hl)
        ld l,a
        jr print_uint
