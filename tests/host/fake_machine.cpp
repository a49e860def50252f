#include "tests/host/fake_machine.h"

#include "machine/machine.h"

Machine machine;
std::vector<std::string> fake_machine_calls;

void fake_machine_clear() {
  fake_machine_calls.clear();
  machine.tape.state = TAPE_STOPPED;
}

void tape_load(const char* path) { fake_machine_calls.push_back(std::string("load ") + path); }
void tape_play() {
  fake_machine_calls.push_back("play");
  machine.tape.state = TAPE_PLAYING;
}
void tape_record() {
  fake_machine_calls.push_back("record");
  machine.tape.state = TAPE_RECORDING;
}
void tape_stop() {
  fake_machine_calls.push_back("stop");
  machine.tape.state = TAPE_STOPPED;
}
void state_load() { fake_machine_calls.push_back("state_load"); }
void state_save() { fake_machine_calls.push_back("state_save"); }
void machine_load_dev_image() { fake_machine_calls.push_back("dev_image"); }
void machine_reset() { fake_machine_calls.push_back("reset"); }
