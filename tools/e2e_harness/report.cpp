#include "report.h"

#include <cstdio>
#include <exception>

#include "probe.h"

namespace e2e {

bool Case::Expect(const std::wstring& actual, const std::wstring& expected, const std::string& what) {
  return Check(actual == expected, what + " is " + Quote(actual) + ", expected " + Quote(expected));
}

void Report::Run(const std::string& name, const std::function<void(Case&)>& body) {
  Case result;
  try {
    body(result);
  } catch (const std::exception& error) {
    result.Fail(std::string("exception: ") + error.what());
  }
  if (!result.Failed()) {
    ++passed_;
    std::printf("PASS %s\n", name.c_str());
  } else {
    ++failed_;
    std::string why;
    for (const std::string& failure : result.Failures()) why += (why.empty() ? "" : "; ") + failure;
    std::printf("FAIL %s: %s\n", name.c_str(), why.c_str());
  }
  std::fflush(stdout);
}

void Report::Note(const std::string& text) {
  std::printf("NOTE %s\n", text.c_str());
  std::fflush(stdout);
}

void Report::PrintTotals() const {
  std::printf("%d passed, %d failed\n", passed_, failed_);
  std::fflush(stdout);
}

}  // namespace e2e
