; The tape signal. Bit 7 of port 80h drives the recorder; bit 7 of a read of
; port 80h (with any keyboard row selected) is the played tape. Bits are
; whole cycles, a half period at each level; a short cycle is a 0 and a long
; one a 1. The loader measures whole cycles, from an edge to the edge after
; next, so a wave that is not symmetric still reads right.
;
; A block on tape: a leader of long cycles, one short sync cycle, a kind
; byte (00h header, 0FFh data), the bytes, and a checksum byte that makes
; the XOR of kind, bytes and checksum 0. Bytes go most significant bit first.
; All lengths below are in T-states of the 2.5 MHz clock.

HALF_0          EQU 300         ; a 0: 600 T-states a cycle
HALF_1          EQU 600         ; a 1: 1,200
HALF_LEADER     EQU 1000        ; leader: 2,000
HEADER_LEADER   EQU 1250        ; cycles of a header's leader: 1 s
DATA_LEADER     EQU 625         ; of a data block's: 0.5 s

BREAK_ROWS      EQU 0FFh-(1 SHL CTRL_ROW)-(1 SHL BREAK_ROW)
BREAK_BITS      EQU (1 SHL CTRL_COLUMN)+(1 SHL BREAK_COLUMN)

; --- Writing ------------------------------------------------------------
; tape_edge flips the output 13 * B + 35 T-states after its CALL began. The
; turns of B for each half come from the length of the code path from the
; edge before (noted beside each path).
LEADER_TURNS    EQU (HALF_LEADER-65+6)/13   ; leader halves: 78 and 52 + 13 * B
TURNS_0A        EQU (HALF_0-84+6)/13        ; first half of a 0: 84 + 13 * B
TURNS_0B        EQU (HALF_0-64+6)/13        ; second half of a 0: 64 + 13 * B
TURNS_1A        EQU (HALF_1-86+6)/13        ; first half of a 1: 86 + 13 * B
TURNS_1B        EQU (HALF_1-66+6)/13        ; second half of a 1: 66 + 13 * B
BYTE_TURNS      EQU (105+6)/13              ; the extra path between two bytes

; Writes a block: kind byte A, BC bytes (1 or more) from HL, after a leader
; of DE cycles. Interrupts stay off; the caller turns them on again. BREAK
; (Ctrl and its key) stops the writing between two bytes.
tape_write_block:
        ld (tape_marker),a
        push bc
        push hl
        ex de,hl                ; HL = leader cycles
        di
        ld d,0                  ; the output level
        ld a,d
        out (PORT),a
_leader:
        ld b,LEADER_TURNS
        call tape_edge
        ld b,LEADER_TURNS
        call tape_edge
        dec hl
        ld a,h
        or l
        jr nz,_leader
        ld b,TURNS_0A           ; the sync cycle: a 0
        call tape_edge
        ld b,TURNS_0B
        call tape_edge
        ld e,0                  ; the checksum
        ld hl,tape_marker
        exx
        ld bc,1
        exx
        call tape_send
        pop hl
        exx
        pop bc
        exx
        call tape_send
        ld a,e
        ld (tape_check),a
        ld hl,tape_check
        exx
        ld bc,1
        exx
        jp tape_send

; Sends BC' bytes from HL, XOR-ing them into E. D holds the output level.
tape_send:
        ld a,BREAK_ROWS
        in a,(PORT)
        and BREAK_BITS
        jp z,tape_break
        ld c,(hl)
        inc hl
        ld a,e
        xor c
        ld e,a
        scf
        rl c                    ; carry = bit 7; the set bit behind it tells
        ld b,TURNS_0A-BYTE_TURNS ; when all eight have gone
        jr nc,_half1
        ld b,TURNS_1A-BYTE_TURNS
        jr _half1
_bit:
        ld b,TURNS_0A
        jr nc,_half1
        ld b,TURNS_1A
_half1:
        call tape_edge          ; keeps the carry: the bit
        ld b,TURNS_0B
        jr nc,_half2
        ld b,TURNS_1B
_half2:
        call tape_edge
        sla c
        jr nz,_bit
        exx
        dec bc
        ld a,b
        or c
        exx
        jp nz,tape_send
        ret

; Waits 13 * B - 5 T-states, then flips the output. Keeps the carry flag.
tape_edge:
        djnz tape_edge
        ld a,d
        cpl
        ld d,a
        out (PORT),a
        ret

; --- Reading ------------------------------------------------------------
; tape_wait_edge counts E up once every 37 T-states until the input
; changes. A whole cycle of T T-states inside a block counts about
; (T - 122) / 37: 13 for a 0, 29 for a 1.
BIT_THRESHOLD   EQU 21          ; a cycle of about 900 T-states
BYTE_POLLS      EQU 3           ; the extra path between two bytes, 108 T
LEADER_POLLS    EQU 19          ; a half of about 800 T-states or more
LEADER_HALVES   EQU 100         ; leader halves needed before the sync

; Waits for a leader and the sync cycle after it; returns at the start of
; the first bit. BREAK stops it.
tape_sync:
        ld bc,BREAK_ROWS*256+PORT
_restart:
        ld h,0                  ; leader halves seen
        in a,(c)
        ld d,a
        and BREAK_BITS
        jp z,tape_break
_half:
        ld e,0
        call tape_wait_edge
        jr c,_restart           ; no signal
        ld a,d
        and BREAK_BITS
        jp z,tape_break
        ld a,e
        cp LEADER_POLLS
        jr c,_short
        inc h
        jr nz,_half
        dec h
        jr _half
_short:
        ld a,h
        cp LEADER_HALVES
        jr c,_restart
        ld e,0                  ; the second half of the sync
        call tape_wait_edge
        jr c,_restart
        ret

; Reads BC' bytes (1 or more) to IX, XOR-ing them into L. Carry set when
; the signal stops first. B, C and D as tape_sync leaves them.
tape_read:
        ld a,d
        and BREAK_BITS
        jp z,tape_break
        ld h,1                  ; the set bit leaves H when eight are in
        ld e,BYTE_POLLS
        jr _measure
_bit:
        ld e,0
_measure:
        call tape_wait_edge
        ret c
        call tape_wait_edge
        ret c
        ld a,e
        cp BIT_THRESHOLD
        ccf
        rl h
        jr nc,_bit
        ld (ix+0),h
        inc ix
        ld a,l
        xor h
        ld l,a
        exx
        dec bc
        ld a,b
        or c
        exx
        jp nz,tape_read
        ret

; Counts E up until the input level differs from D's bit 7, then D := the
; new input. Carry set when E runs out first (about 9,500 T-states).
tape_wait_edge:
        inc e
        jr z,_timeout
        in a,(c)
        xor d
        jp p,tape_wait_edge
        xor d
        ld d,a
        ret
_timeout:
        scf
        ret

; BREAK during tape work.
tape_break:
        rst 30h
        DEFB "Break",0
