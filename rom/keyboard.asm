; The keyboard: 40 keys in 8 rows of 5. Reading port 80h with row r's address
; line A(8 + r) low gives that row's keys in bits 0-4, 0 for a key that is
; down. The frame interrupt scans every row once; a key seen down that was up
; at the scan before goes into the key buffer, so a key down for a single
; frame is never lost. A key held down repeats every REPEAT_FRAMES frames.
; (The host already turns a held key into one press, a pause of half a
; second and then a steady press, which gives the pause before the repeat.)

REPEAT_FRAMES   EQU 4
NO_KEY          EQU 0FFh

SHIFT_BIT       EQU 1 SHL SHIFT_COLUMN
CTRL_BIT        EQU 1 SHL CTRL_COLUMN

; Called by the frame interrupt.
key_scan:
        ld bc,0FE00h+PORT       ; B selects row 0
        ld hl,key_now
_read:
        in a,(c)
        cpl
        and 1Fh
        ld (hl),a
        inc hl
        rlc b
        jr c,_read              ; until the selecting 0 has passed row 7
        ; Shift and Ctrl only choose the layer; take them out of the rows.
        ld hl,key_now+SHIFT_ROW
        ld a,(hl)
        and SHIFT_BIT
        ld (key_shift),a
        ld a,(hl)
        and 1Fh-SHIFT_BIT
        ld (hl),a
        ld hl,key_now+CTRL_ROW
        ld a,(hl)
        and CTRL_BIT
        ld (key_ctrl),a
        ld a,(hl)
        and 1Fh-CTRL_BIT
        ld (hl),a
        ; New keys: down now and up at the scan before.
        xor a
        ld (key_index),a
        ld (key_new),a
        ld hl,key_now
        ld de,key_prev
        ld b,8
_row:
        push bc
        ld a,(de)
        cpl
        and (hl)
        ld c,a                  ; the row's new keys
        ld a,(hl)
        ld (de),a
        ld a,(key_index)
        ld b,5
_column:
        srl c
        call c,key_pressed
        inc a
        djnz _column
        ld (key_index),a
        inc hl
        inc de
        pop bc
        djnz _row
        ld a,(key_new)
        or a
        ret nz
        ; No new key: the held key repeats.
        ld a,(repeat_index)
        cp NO_KEY
        ret z
        ld e,a
        ld hl,key_prev-1
_divide:                        ; HL := the row's entry, A := column - 5
        inc hl
        sub 5
        jr nc,_divide
        add a,5
        ld b,a
        ld a,1
        jr z,_mask_done
_mask:
        add a,a
        djnz _mask
_mask_done:
        and (hl)
        jr z,_released
        ld hl,repeat_count
        dec (hl)
        ret nz
        ld (hl),REPEAT_FRAMES
        ld a,e
        jr key_deliver
_released:
        ld a,NO_KEY
        ld (repeat_index),a
        ret

; Key A (row * 5 + column) went down. Keeps AF, BC, DE, HL.
key_pressed:
        push af
        push bc
        push de
        push hl
        ld (repeat_index),a
        ld hl,key_new
        ld (hl),1
        ld hl,repeat_count
        ld (hl),REPEAT_FRAMES
        call key_deliver
        pop hl
        pop de
        pop bc
        pop af
        ret

; Puts the code of key A, in the layer that Ctrl or Shift chooses, into the
; key buffer. Keys without a code in that layer give nothing; a full buffer
; drops the key. The break key stroke also raises break_flag, before the
; buffer is looked at: a program that reads no keys still gets stopped.
key_deliver:
        ld e,a
        ld d,0
        ld hl,keymap_plain
        ld a,(key_ctrl)
        or a
        jr z,_no_ctrl
        ld hl,keymap_ctrl
        jr _layer
_no_ctrl:
        ld a,(key_shift)
        or a
        jr z,_layer
        ld hl,keymap_shift
_layer:
        add hl,de
        ld a,(hl)
        or a
        ret z
        ld e,a
        cp KEY_BREAK
        jr nz,_queue
        ld (break_flag),a
_queue:
        ld a,(key_head)
        ld c,a
        inc a
        and KEY_BUFFER_SIZE-1
        ld hl,key_tail
        cp (hl)
        ret z                   ; full
        ld (key_head),a
        ld b,0
        ld hl,key_buffer
        add hl,bc
        ld (hl),e
        ret

; Takes the next key from the buffer: NZ and A = its code, or Z when there
; is none.
key_poll:
        push bc
        push hl
        ld a,(key_head)
        ld hl,key_tail
        sub (hl)
        jr z,_end
        ld c,(hl)
        ld b,0
        ld a,c
        inc a
        and KEY_BUFFER_SIZE-1
        ld (hl),a
        ld hl,key_buffer
        add hl,bc
        ld a,(hl)
        or a                    ; codes are never 0: NZ
_end:
        pop hl
        pop bc
        ret

; Waits for a key and returns its code in A, blinking the cursor meanwhile.
; Enables interrupts: the keys come from the frame interrupt.
get_key:
        ei
_wait:
        call key_poll
        jr nz,_got
        ld a,(frames)
        and 10h                 ; on for 16 frames, off for 16
        jr nz,_off
        ld a,(cursor_shown)
        or a
        call z,toggle_cursor
        halt
        jr _wait
_off:
        ld a,(cursor_shown)
        or a
        call nz,toggle_cursor
        halt
        jr _wait
_got:
        push af
        ld a,(cursor_shown)
        or a
        call nz,toggle_cursor
        pop af
        ret
