// bench script: a loop-heavy script (sum of i*i mod 7 over a counter, in
// registers and variables) against the same loop in plain C++, one run.
// ratio = C++ time / script time per iteration.
#include <chrono>
#include <cstdio>
#include <vector>

#include "avm1/interpreter.h"
#include "avm1/vm.h"

namespace {

// Hand-assembled: r1 = 0; sum = 0; while (r1 < n) { sum = sum + (r1 * r1) % 7; r1++; } trace(sum)
std::vector<uint8_t> loopCode(int n) {
  std::vector<uint8_t> c;
  auto push = [&](std::initializer_list<uint8_t> bytes) { c.insert(c.end(), bytes); };
  auto pushInt = [&](int v) {
    push({0x96, 5, 0, 7});
    for (int i = 0; i < 4; ++i) c.push_back(uint8_t(v >> (8 * i)));
  };
  pushInt(0);
  push({0x87, 1, 0, 1, 0x17});              // StoreRegister 1, Pop
  push({0x96, 5, 0, 0, 's', 'u', 'm', 0});  // "sum"
  pushInt(0);
  push({0x1D});  // SetVariable
  size_t loopStart = c.size();
  push({0x96, 2, 0, 4, 1});  // push r1
  pushInt(n);
  push({0x48, 0x12});  // Less2, Not
  size_t ifAt = c.size();
  push({0x9D, 2, 0, 0, 0});  // If (patched) -> end
  size_t bodyStart = c.size();
  push({0x96, 5, 0, 0, 's', 'u', 'm', 0});        // "sum"
  push({0x96, 5, 0, 0, 's', 'u', 'm', 0, 0x1C});  // GetVariable sum
  push({0x96, 4, 0, 4, 1, 4, 1, 0x0C});           // r1 * r1
  pushInt(7);
  push({0x3F, 0x47, 0x1D});                             // Modulo, Add2, SetVariable
  push({0x96, 2, 0, 4, 1, 0x50, 0x87, 1, 0, 1, 0x17});  // r1 = r1 + 1
  size_t jumpAt = c.size();
  push({0x99, 2, 0, 0, 0});
  int16_t back = int16_t(int(loopStart) - int(c.size()));
  c[jumpAt + 3] = uint8_t(back & 0xFF);
  c[jumpAt + 4] = uint8_t((back >> 8) & 0xFF);
  int16_t forward = int16_t(int(c.size()) - int(bodyStart));
  c[ifAt + 3] = uint8_t(forward & 0xFF);
  c[ifAt + 4] = uint8_t((forward >> 8) & 0xFF);
  push({0x96, 5, 0, 0, 's', 'u', 'm', 0, 0x1C, 0x26, 0});  // trace(sum), End
  return c;
}

class Collect : public swf::avm1::VmHost {
 public:
  void trace(const std::string& line) override { last = line; }
  double movieTimeMs() const override { return 0; }
  void getUrl(const std::string&, const std::string&) override {}
  swf::avm1::ActionTarget* level(int) override { return nullptr; }
  std::string last;
};

}  // namespace

int main() {
  const int n = 50000;  // inside one run's action budget (19 actions an iteration)
  const int rounds = 20;
  Collect host;
  swf::avm1::Vm vm(7, &host);
  swf::avm1::Interpreter interpreter(vm);
  swf::avm1::Object* self = vm.newObject();
  std::vector<uint8_t> code = loopCode(n);
  auto t0 = std::chrono::steady_clock::now();
  for (int r = 0; r < rounds; ++r) {
    vm.newTick();
    interpreter.runBlock(code.data(), code.size(), self);
  }
  auto t1 = std::chrono::steady_clock::now();
  volatile double sum = 0;
  for (int r = 0; r < rounds; ++r) {
    double s = 0;
    for (volatile int i = 0; i < n; i = i + 1) s = s + double((int64_t(i) * i) % 7);
    sum = s;
  }
  auto t2 = std::chrono::steady_clock::now();
  double scriptS = std::chrono::duration<double>(t1 - t0).count();
  double cppS = std::chrono::duration<double>(t2 - t1).count();
  long expected = 0;
  for (long i = 0; i < n; ++i) expected += (i * i) % 7;
  if (host.last != std::to_string(expected) || sum != double(expected)) {
    std::fprintf(stderr, "bench script: the loop gave %s, not %ld\n", host.last.c_str(), expected);
    return 1;
  }
  double actions = double(rounds) * n * 19;
  std::printf("bench script ratio=%.4f script_actions_per_s=%.0f script_s=%.3f cpp_s=%.4f\n", cppS / scriptS,
              actions / scriptS, scriptS, cppS);
  return 0;
}
