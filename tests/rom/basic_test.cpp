// Vorn BASIC, entered from the monitor and typed at like a user would; what
// it prints is read back from the screen. Every case keeps to numbers that
// stay small integers, whose results do not depend on the floating-point
// package.
#include <cmath>
#include <random>
#include <tuple>

#include "tests/machine/vorn_machine.h"

namespace {

using Rows = std::vector<std::string>;

// A random expression of small integers, written with only the brackets
// BASIC's precedence needs: ^ 8, unary minus 7, * / MOD 6, + - 5, the
// comparisons 4, NOT 3, AND 2, OR 1, each binary one grouping left to right.
// Every value on the way stays within 16 bits and every division is exact.
struct Expression {
  std::string text;
  long value;
  int precedence;
};

// (std::string's + chains trip a false -Wrestrict in GCC 12; append does not.)
std::string joined(const std::string& a, const std::string& b, const std::string& c = "") {
  return std::string(a).append(b).append(c);
}
std::string bracketed(const Expression& e, bool bracket) { return bracket ? joined("(", e.text, ")") : e.text; }

bool random_expression(std::mt19937& random, int depth, Expression& e) {
  static const char* const ops[] = {"+", "-", "*", "/", "mod", "and", "or",
                                    "=", "<>", "<", ">", "<=", ">=", "^"};
  static const int precedence[] = {5, 5, 6, 6, 6, 2, 1, 4, 4, 4, 4, 4, 4, 8};
  const unsigned kind = depth == 0 ? 0 : random() % 8;
  if (kind == 0) {
    e = {std::to_string(random() % 100), 0, 9};
    e.value = std::stol(e.text);
    return true;
  }
  Expression a, b;
  if (!random_expression(random, depth - 1, a)) return false;
  if (kind == 1) e = {joined("-", bracketed(a, a.precedence < 8)), -a.value, 7};
  if (kind == 2) e = {joined("not ", bracketed(a, a.precedence <= 3)), ~a.value, 3};
  if (kind >= 3) {
    const unsigned op = random() % 14;
    if (!random_expression(random, depth - 1, b)) return false;
    const long x = a.value, y = b.value;
    const long values[] = {x + y, x - y, x * y, y && x % y == 0 ? x / y : 1 << 20, y ? x % y : 1 << 20,
                           x & y, x | y, -(x == y), -(x != y), -(x < y), -(x > y), -(x <= y), -(x >= y),
                           y >= 0 && y < 4 && x > -20 && x < 20 ? long(std::pow(x, y)) : 1 << 20};
    const int p = precedence[op];
    const std::string spaced = op >= 4 && op <= 6 ? joined(" ", ops[op], " ") : ops[op];
    e = {joined(bracketed(a, a.precedence < p), spaced, bracketed(b, b.precedence <= p)), values[op], p};
  }
  return e.value >= -32768 && e.value <= 32767;
}

class Basic : public Vorn {
 protected:
  void SetUp() override {
    start(false);
  }
  // Types `lines`, then `last` on a cleared screen: the rows it printed
  // before Ready.
  Rows enter(const Rows& lines, const std::string& last = "run", uint32_t frames = 60) {
    for (const auto& line : lines) {
      EXPECT_LE(line.size(), 127u) << line << ": longer than the editor takes";
      type(line + "\n", 15);
    }
    EXPECT_LE(last.size(), 127u) << last;
    type("\x0C" + last + "\n", frames);  // CLEAR first

    Rows rows = screen();
    rows.erase(rows.begin());
    rows.erase(std::find(rows.begin(), rows.end(), "Ready"), rows.end());
    while (!rows.empty() && rows.back().empty()) rows.pop_back();
    return rows;
  }
};

TEST_F(Basic, ListShowsLinesInOrderWithKeywordsAndNamesInCapitalsAndConstantsAsTyped) {
  EXPECT_EQ(enter({"30 x = 007 + 10 :rem So  Be", "10 print\"Hi\";total;form", "40 ?a$;-x^2,x<>y;tab(3)",
                   "20 if a<=b then 10 else 20", "50 a=not b and c or d mod 2", "25 goto 50:gosub 40:run 10",
                   "15 delete me", "15", "45 x", "45 y>=1"},
                  "list"),
            Rows({"10 PRINT \"Hi\";TOTAL;FORM", "20 IF A<=B THEN 10 ELSE 20", "25 GOTO 50:GOSUB 40:RUN 10",
                  "30 X=007+10:REM So  Be", "40 PRINT A$;-X^2,X<>Y;TAB(3)", "45 Y>=1",
                  "50 A=NOT B AND C OR D MOD 2"}));
}

TEST_F(Basic, RandomIntegerExpressionsFollowPrecedenceAndGrouping) {
  std::mt19937 random(2024);
  for (int n = 0; n < 60;) {
    Expression e;
    // Keep those that fit the editor's line with a binary operator at the top.
    if (!random_expression(random, 3, e) || e.text.size() > 28 || e.precedence % 6 >= 3) continue;
    ++n;
    const std::string value = std::to_string(e.value);
    EXPECT_EQ(enter({}, joined("?", e.text), 30), Rows({e.value < 0 ? value : joined(" ", value)})) << e.text;
  }
}

// A stored line: length, number, items; a name table of slots and names
// after it. The line target's address is filled in before the next run.
TEST_F(Basic, LinesAreStoredTokenizedWithValuesTargetsAndSlotOffsets) {
  type("10 a=7:b=007:goto 10\n");
  const Bytes line = {0x22, 0, 10, 0,  0x04, 0, 0, 0xBB, 0x01, 7, 0,    ':', 0x04, 6,   0,   0xBB, 0x02,
                      7,    0, 0,  0,  0,    3, '0', '0', '7', ':', 0x88, 0x03, 10, 0, 0,    0,    0};
  const Bytes names = {0, 0, 0, 0, 0, 'A' + 0x80, 0, 0, 0, 0, 0, 'B' + 0x80};
  EXPECT_EQ(Bytes(machine.memory + 0x5000, machine.memory + 0x5022), line);
  EXPECT_EQ(Bytes(machine.memory + 0x5024, machine.memory + 0x5030), names);  // past the end marker
  type("?1\n");
  EXPECT_EQ(machine.memory[0x501F] + 256 * machine.memory[0x5020], 0x5000);
}

TEST_F(Basic, ListShowsARangeOrAScreenfulAtATimeAndStopsOnBreak) {
  for (int n = 10; n <= 400; n += 10) type(std::to_string(n) + " rem " + std::to_string(n) + "\n", 4);
  EXPECT_EQ(enter({}, "list 20-40"), Rows({"20 REM 20", "30 REM 30", "40 REM 40"}));
  EXPECT_EQ(enter({}, "list -20"), Rows({"10 REM 10", "20 REM 20"}));
  EXPECT_EQ(enter({}, "list 390-"), Rows({"390 REM 390", "400 REM 400"}));
  EXPECT_EQ(enter({}, "list 30"), Rows({"30 REM 30"}));
  enter({}, "list", 600);  // 31 lines, then it waits for a key
  EXPECT_EQ(screen()[0], "10 REM 10");
  EXPECT_EQ(screen()[30], "310 REM 310");
  EXPECT_EQ(enter({}, " ", 400).back(), "400 REM 400");
  enter({}, "list", 600);
  type(kBreak, 30);
  EXPECT_TRUE(shows("Break"));
}

TEST_F(Basic, ProgramsPrintWhatTheirStatementsAndOperatorsMean) {
  // Each case starts with NEW unless it goes on with the program before.
  const struct { Rows lines; std::string last; Rows printed; bool goes_on = false; } cases[] = {
      {{"10 a=5:total=a", "20 ?a*a;total;form", "30 a=a+1:if a<7 then 20"}, "run", {" 25  5  0", " 36  5  0"}},
      {{}, "?-2^2;2^3^2;2*-3;1+2*3-4/2", {"-4  64 -6  5"}},
      // Numbers beyond small integers: the printed forms, and constants read as typed.
      {{}, "?1/3;100;2^31", {" .333333333  100  2147483648"}},
      {{}, "?sqr(2)^2;-1e-7;3^2;-2^2", {" 2 -1E-07  9 -4"}},
      {{}, "?1.5e12;2.5e-5;-0.01", {" 1.5E+12  2.5E-05 -.01"}},
      {{}, "?1e9;4294967295;1e10", {" 1000000000  4294967295  1E+10"}},
      {{}, "?7/2;int(-7/2);.5e1", {" 3.5 -4  5"}},
      {{}, "?1<2;2<1;1<=1;2>=3;2<>2;3=3", {"-1  0 -1  0  0 -1"}},
      {{}, "?not 0;5and 3;5or 2;-7mod 3", {"-1  1  7 -1"}},
      {{}, "?1 or 2 and 4;not 1 or 2", {" 1 -2"}},
      {{}, "?(-32767-1)/-2;300*-109", {" 16384 -32700"}},
      {{}, "?-181*181;7/-7;0/5;-(-3)", {"-32761 -1  0  3"}},
      {{}, "?\"a\">\"B\";\"\"<\"a\"", {"-1 -1"}},
      {{"10 Abc=5:?aBC"}, "run", {" 5"}},
      // Names, not ON AND TAB NEXT:
      {{"10 one=1:andy=2:table=3", "20 ?one+andy+table;nextx"}, "run", {" 6  0"}},
      {{"10 a=1:a(1)=2:a$=\"x\"", "20 a$(1)=\"y\":?a;a(1);a$;a$(1)"}, "run", {" 1  2 xy"}},
      {{"65535 ?40000;65535"}, "goto 65535", {" 40000  65535"}},
      {{}, "65536 ?1", {"Syntax error"}, true},
      {{}, "list", {"65535 PRINT 40000;65535"}, true},
      {{"10 ?1", "20 ?2"}, "run 20", {" 2"}},
      {{"10 ?1:return"}, "gosub 10:?2", {" 1", " 2"}, true},
      {{"x=5", "new"}, "?x;", {" 0"}},
      {{}, "?1,22,333;4444,5", {" 1       22      333  4444", " 5"}},
      {{}, "?\"a\";:?\"b\",:?\"c\"", {"ab      c"}},
      {{}, "?tab(4);1;tab(2);2", {"     1", "   2"}},
      {{"10 abcdefghij=1:abcdefghik=2", "20 ?abcdefghij;abcdefghik"}, "run", {" 1  2"}},
      {{"10 if 0 then ?1 else ?2", "20 if 1 then ?3 else ?4", "30 if 0 goto 10"}, "run", {" 2", " 3"}},
      {{"10 ?1:end:?2", "20 if 0 then 500"}, "run", {" 1"}},
      {{"10 goto 30", "20 ?2", "30 ?3"}, "run", {" 3"}},
      {{"10 goto 20", "15 ?1"}, "run", {" 2", " 3"}, true},  // the targets follow the edits
      {{}, "goto 15", {" 1", " 2", " 3"}, true},
      {{}, joined("?", std::string(24, '-'), "1"), {" 1"}},
      {{}, joined("?", std::string(25, '('), "1"), {"Expression too complex"}},
      {{"10 for i=1 to 3:?i;:next", "20 for j=9 to 1 step -4", "30 ?j;:gosub 90:next j:end",
        "90 ?\"s\";:return"},
       "run",
       {" 1  2  3  9 s 5 s 1 s"}},
      {{"10 for i=1 to 2:for j=1 to 2", "20 ?i*10+j;:next j,i:?i;j"}, "run", {" 11  12  21  22  3  3"}},
      {{"10 for j=1 to 3:k=k+1", "15 if k<99 then 10", "20 next j:?k;j"}, "run", {" 101  4"}},  // one J frame
      {{"10 return"}, "for i=1 to 2:gosub 10", {}},
      {{}, "next", {"NEXT without FOR"}, true},  // the direct line's loop went with it
      {{"10 on k goto 20,30", "20 ?2;", "30 ?3;:k=k+1:if k<3 then 10"}, "run", {" 2  3  2  3  3"}},
      {{"10 on 2 gosub 30,40:?5:end", "30 ?3", "40 ?4:return"}, "run", {" 4", " 5"}},
      {{"10 ?1:stop:?2"}, "run", {" 1", "Break in 10"}},
      {{}, "cont", {" 2"}, true},
      {{}, "cont", {"Can't continue"}, true},
      {{"10 stop:?1"}, "run", {"Break in 10"}},
      {{"20 ?2"}, "cont", {"Can't continue"}, true},  // the edit ended it
      {{"10 gosub 10"}, "run", {"Out of memory in 10"}},
      {{"10 for i=1 to 2:gosub 10"}, "run", {"Out of memory in 10"}},
      {{"10 for i=1 to 2:?i;", "20 gosub 30", "30 next"}, "run", {" 1", "NEXT without FOR in 30"}},
      {{"10 gosub 20:return", "20 for i=1 to 2:return"}, "run", {"RETURN without GOSUB in 10"}},
      {{"10 for i=1 to 2:for j=1 to 9", "20 next i:?i;j:next j"}, "run", {" 3  1", "NEXT without FOR in 20"}},
      {{}, "if \"a\" then ?1", {"Type mismatch"}},
      {{}, "gosub 99", {"Undefined line 99"}},
      {{}, "for i=1 to 2:next j", {"NEXT without FOR"}},
      {{"10 ?1/0"}, "run", {"Division by zero in 10"}},
      {{"10 ?1", "20 goto 500"}, "run", {" 1", "Undefined line 500 in 20"}},
      {{"10 ?(1"}, "run", {"Syntax error in 10"}},
      {{"10 a=\"x\""}, "run", {"Type mismatch in 10"}},
      {{"10 ?7"}, "?1/0", {"Division by zero"}},
  };
  for (const auto& c : cases) {
    if (!c.goes_on) type("new\n");
    EXPECT_EQ(enter(c.lines, c.last), c.printed) << c.last << " after " << (c.lines.empty() ? "" : c.lines[0]);
  }
}

TEST_F(Basic, StringsArraysDataAndFunctionsGiveTheirValuesAndRefuseBadUse) {
  const struct { Rows lines; std::string last; Rows printed; } cases[] = {
      {{"a$=\"Hello\":b$=a$+\" there\""}, "?b$;len(b$);left$(b$,3)", {"Hello there 11 Hel"}},
      {{}, "?right$(b$,5);mid$(b$,2,3)", {"thereell"}},
      {{}, "?mid$(b$,7);chr$(65);asc(\"A\")", {"thereA 65"}},
      {{}, "?str$(-12);val(\" 4x\");val(\"\")", {"-12 4  0"}},
      {{}, "?instr(b$,\"th\");instr(b$,\"x\")", {" 7  0"}},
      {{}, "?\"a\"<\"b\";\"ab\"<\"a\";\"x\"=\"x\"", {"-1  0 -1"}},
      {{}, "?int(-7);abs(-7);sgn(-7)", {"-7  7 -1"}},
      {{}, "?sqr(49);sgn(0);sgn(9)", {" 7  0  1"}},
      {{}, "?len(5)", {"Type mismatch"}},
      {{}, "?mid$(\"a\",0)", {"Bad argument"}},
      {{}, "?asc(\"\")", {"Bad argument"}},
      {{"c$=b$+b$+b$+b$+b$+b$+b$+b$"}, "c$=c$+c$+c$", {"String too long"}},
      {{"dim m(5),n$(2,3)", "m(5)=7:n$(2,3)=\"x\""}, "?m(5);n$(2,3);m(0);n$(0,0)", {" 7 x 0"}},
      {{"dim n(2,2):n(1,0)=5"}, "?n(0,1);n(1,0)", {" 0  5"}},
      {{}, "?m(6)", {"Subscript out of range"}},
      {{}, "?n$(2,4)", {"Subscript out of range"}},
      {{}, "?n(1)", {"Subscript out of range"}},
      {{}, "dim m(2)", {"Array already dimensioned"}},
      {{"z(10)=3"}, "?z(10);z(0)", {" 3  0"}},  // made with 0-10 by its use
      {{}, "?z(11)", {"Subscript out of range"}},
      {{}, "dim t(1,1,1,1,1,1,1,1,1)", {"Subscript out of range"}},  // 9 dimensions
      {{}, "dim r(1+1),s$(2):?r(2);s$(2)", {" 0"}},
      {{}, "?left$(\"ab\",0);\"|\";chr$(256)", {"|", "Bad argument"}},
      {{"10 data 3,\"x\"", "20 read q(1),q$(2)", "30 ?q(1);q$(2)"}, "run", {" 3 x"}},
      {{"10 data 7,8", "20 read a,b:restore:read c", "30 ?c:end"}, "run", {" 7"}},
      {{"10 data 1,\"a,b\", c d ,-4", "20 read a,b$,c$,d:?a;b$;c$;d", "30 ?9:data 5:restore 30",
        "40 read e:?e:read e,e"},
       "run",
       {" 1 a,bc d-4", " 9", " 5", "Out of DATA in 40"}},
      {{"50 read q,q"}, "goto 50", {"Syntax error in 50"}},  // "a,b" is no number
  };
  for (const auto& c : cases) EXPECT_EQ(enter(c.lines, c.last), c.printed) << c.last;
}

TEST_F(Basic, InputAsksAgainForBadNumbersAndMissingValuesAndStopsOnBreak) {
  EXPECT_EQ(enter({"10 input a,b$", "20 ?a*2;b$;\"|\"", "30 input \"Nm\";c$:?c$"}).at(0).substr(0, 1), "?");
  type("x\n");
  EXPECT_TRUE(shows("Redo"));
  type("21\n");
  EXPECT_TRUE(shows("??"));
  type(" Bob \n");
  EXPECT_TRUE(shows(" 42 Bob|"));
  EXPECT_TRUE(shows("Nm?"));
  type("\"x,y\"\n");
  EXPECT_EQ(enter({}, "?c$"), Rows({"x,y"}));
  type("run\n");
  type(kBreak, 20);
  EXPECT_TRUE(shows("Break in 10"));
  type("cont\n3,\"q\"\n");
  EXPECT_TRUE(shows(" 6 q|"));
  EXPECT_EQ(enter({"z"}, "input \"Tx\",d$", 20).at(0), "Tx");  // no "? " after a comma
}

// c$() shares a$()'s first strings; LEFT$ makes its string while the joined
// one it cuts is only held by a temporary descriptor.
TEST_F(Basic, StringsSurviveCollectionInASmallHeap) {
  EXPECT_EQ(enter({"clear 22200", "10 dim a$(40),c$(40)", "20 for i=0 to 40:b$=str$(i)",
                   "30 a$(i)=b$+\"\":c$(i)=a$(i)", "35 next", "40 for k=1 to 9:for i=0 to 40",
                   "50 a$(i)=left$(a$(i)+\"x\",99)", "60 next:next:for i=0 to 40",
                   "70 b$=str$(i):for k=1 to 9", "80 b$=b$+\"x\":next", "90 if a$(i)<>b$ then ?i",
                   "95 if c$(i)<>str$(i) then ?-i", "99 next:?a$(40);c$(40)"},
                  "run", 900),
            Rows({" 40xxxxxxxxx 40"}));
}

// FRE collects while STR$'s string is held only by a temporary descriptor;
// MID$ then makes its string where a collector that lost it would put it.
TEST_F(Basic, MachineAccessEditAndFreeMemory) {
  const Rows boot = screen();
  const std::string free = enter({}, "?fre(0)").at(0);
  EXPECT_GE(std::stoi(free), 35'840);
  const Rows banner = {"Vorn BASIC 1.0", joined(free.substr(1), " bytes free")};
  EXPECT_NE(std::search(boot.begin(), boot.end(), banner.begin(), banner.end()), boot.end());
  const struct { Rows lines; std::string last; Rows printed; } cases[] = {
      {{}, "poke 30000,77:?peek(30000)", {" 77"}},
      {{}, "poke 16384,1", {"System area"}},
      {{}, "poke 20479,256", {"Bad argument"}},
      // LD HL,1234; RET
      {{"poke 30000,33:poke 30001,210", "poke 30002,4:poke 30003,201"}, "?usr(30000)", {" 1234"}},
      {{}, "call 30000:?2", {" 2"}},
      {{"10 print 1:rem x", "edit 10", "2"}, "list", {"10 PRINT 1:REM x2"}},  // the line into the editor
      {{""}, "edit 20", {"Undefined line 20"}},
      {{"clear 30000", "10 b$=\"ABCDEFGH\":x=fre(0)", "20 ?str$(5)+mid$(b$,fre(0)^0)"}, "run", {" 5ABCDEFGH"}},
      {{"10 x=fre(0):for i=1 to 99", "20 a$=str$(i):next:?x-fre(0)"}, "run", {" 6"}},  // " 99" and its 3
  };
  for (const auto& c : cases) EXPECT_EQ(enter(c.lines, c.last), c.printed) << c.last;
}

TEST_F(Basic, BreakStopsAProgramThatContGoesOnWithAndMonitorTripsKeepIt) {
  type("10 n=n+1:if n<3000 then 10\n20 ?n\nrun\n", 0);
  type(kBreak, 20);
  EXPECT_TRUE(shows("Break in 10"));
  EXPECT_EQ(enter({}, "?n<3000"), Rows({"-1"}));
  EXPECT_EQ(enter({}, "cont", 400), Rows({" 3000"}));
  type("mon\n");
  type("basic\n");
  EXPECT_EQ(enter({}, "?n"), Rows({" 3000"}));
  EXPECT_EQ(enter({}, "list"), Rows({"10 N=N+1:IF N<3000 THEN 10", "20 PRINT N"}));
  EXPECT_EQ(enter({}, "clear 57344"), Rows({"Bad argument"}));
  EXPECT_EQ(enter({"clear 40000"}, "?n"), Rows({" 0"}));
}

// The display's pixel (x, y): 1 for ink.
int pixel(int x, int y) { return machine.memory[0xE000 + y * 32 + x / 8] >> (7 - x % 8) & 1; }

TEST_F(Basic, ScreenStatementsKeepToTheScreenAndDrawingTakesItsArgumentsInOrder) {
  EXPECT_EQ(enter({}, "?1:cls:locate 2,4:?\"x\";tab(31);\"y\""),
            Rows({"", "    x                          y"}));
  for (const char* bad : {"locate 32,0", "locate 0,32", "locate -1,0", "?tab(32)", "circle 1,1,-1"})
    EXPECT_EQ(enter({}, bad), Rows({"Bad argument"})) << bad;
  EXPECT_EQ(enter({"10 pset 10,200:pset 11,200", "20 pset 11,200,0:a=point(-1,0)",
                   "30 ?point(10,200);point(11,200);a"}),
            Rows({" 1  0  0"}));
  EXPECT_EQ(pixel(10, 200) + pixel(200, 10), 1);
  type("cls:pset 10,200,0:line 10,200,100,210:circle 128,100,40\n");
  EXPECT_TRUE(pixel(10, 200) && pixel(100, 210) && pixel(88, 100) && pixel(168, 100) && pixel(128, 60));
  for (int x = 0; x < 256; ++x) {
    int lit = 0;
    for (int y = 195; y < 215; ++y) lit += pixel(x, y);
    EXPECT_EQ(lit, x >= 10 && x <= 100 ? 1 : 0) << "line's column " << x;
  }
  for (int y = 50; y < 150; ++y)
    for (int x = 0; x < 256; ++x)
      if (pixel(x, y)) {
        EXPECT_TRUE(pixel(256 - x, y) && pixel(x, 200 - y)) << x << "," << y;
        EXPECT_NEAR(std::hypot(x - 128, y - 100), 40, 0.8) << x << "," << y;
      }
  const Bytes memory(machine.memory + 0x5000, machine.memory + 0xE000);
  type("line -300,-9,400,300,1:circle 250,250,300:circle -9,9,20:pset -1,2:pset 256,2\n");
  EXPECT_EQ(Bytes(machine.memory + 0x5000, machine.memory + 0xE000), memory);
  EXPECT_EQ(pixel(255, 1) + pixel(0, 1) + pixel(255, 2), 0);  // from the psets, wrapped
}

// One frame is 20 ms; SOUND's tone is measured as the monitor's beep is.
TEST_F(Basic, SoundTimeKeysAndPorts) {
  for (const auto& [command, hertz, ms] : {std::tuple{"sound 440,300", 440, 300}, {"beep", 1000, 100}}) {
    sound.clear();
    type(joined(command, "\n"), 30);
    std::vector<size_t> rises;
    for (size_t i = 0; i < sound.size(); ++i)
      if (sound[i] == 255) rises.push_back(i);
    ASSERT_GE(rises.size(), 2u) << command;
    const double span = static_cast<double>(rises.back() - rises.front()) / 44'100.0;
    EXPECT_NEAR(static_cast<double>(rises.size() - 1) / span, hertz, hertz * 0.002) << command;
    EXPECT_NEAR(span + 1.0 / hertz, ms / 1000.0, 0.003) << command;
  }
  for (const char* bad : {"sound 19,10", "sound 9001,10", "sound 440,-1", "delay -1"})
    EXPECT_EQ(enter({}, bad), Rows({"Bad argument"})) << bad;
  EXPECT_EQ(enter({}, "t=timer:delay 1000:?timer-t"), Rows({" 50"}));
  machine.memory[0x4000] = 0;  // frames 3000h, frames_high 3: 2^16 * 3 + 12,288
  machine.memory[0x4001] = 0x30;
  machine.memory[0x4006] = 3;
  EXPECT_EQ(enter({}, "?int(timer/4096)"), Rows({" 51"}));
  type("10 delay 30000:?1\nrun\n", 20);
  type(kBreak, 10);
  EXPECT_TRUE(shows("Break in 10"));
  EXPECT_EQ(enter({}, "cont"), Rows({" 1"}));
  type("10 k$=inkey$:?len(k$);:if k$=\"\" then 10\n20 ?k$\nrun\n", 20);
  type("q", 10);
  EXPECT_TRUE(shows(" 0  1 q"));
  EXPECT_EQ(enter({}, "?in(65152)"), Rows({" 31"}));  // keyboard row 0, nothing down
  sound.clear();
  type("out 128,128:out 128,0\n", 2);
  EXPECT_EQ(std::count(sound.begin(), sound.end(), 255), 1);
}

}  // namespace
