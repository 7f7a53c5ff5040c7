#pragma once
#include <functional>
#include <string>
#include <vector>

namespace e2e {

// What one case found wrong; a case passes when it records nothing.
class Case {
 public:
  void Fail(const std::string& why) { failures_.push_back(why); }
  bool Check(bool ok, const std::string& why) {
    if (!ok) Fail(why);
    return ok;
  }
  bool Expect(const std::wstring& actual, const std::wstring& expected, const std::string& what);
  bool Failed() const { return !failures_.empty(); }
  const std::vector<std::string>& Failures() const { return failures_; }

 private:
  std::vector<std::string> failures_;
};

// Prints "PASS name" or "FAIL name: why" per case and the closing totals.
class Report {
 public:
  void Run(const std::string& name, const std::function<void(Case&)>& body);
  void Note(const std::string& text);  // "NOTE ..." lines: facts that fail nothing
  int Passed() const { return passed_; }
  int Failed() const { return failed_; }
  void PrintTotals() const;

 private:
  int passed_ = 0, failed_ = 0;
};

}  // namespace e2e
