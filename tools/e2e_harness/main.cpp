// veltrane_e2e seed
//   seeds the prefix's browser folders and typed addresses; prints one
//   "readonly <unix path>" line per folder that wants chmod 555.
// veltrane_e2e run <veltrane.exe> <screenshot folder> [startup] [road] [windows] [interrupt] [stock-fonts]
//   runs the cases against the real program, one PASS/FAIL line each, then
//   "N passed, M failed"; exit code 0 only when all passed.
// veltrane_e2e opened <record file> <address>
//   the https handler that the link case registers in the test prefix.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "cases.h"
#include "probe.h"
#include "seed.h"
#include "watchdog.h"

namespace {

constexpr DWORD kDefaultDeadlineSeconds = 240;

e2e::Report* g_report = nullptr;

int SeedCommand() {
  const e2e::SeedReport report = e2e::Seed(e2e::ReadProfile());
  for (const std::string& problem : report.problems) std::printf("problem %s\n", problem.c_str());
  for (const std::string& note : report.notes) std::printf("note %s\n", note.c_str());
  for (const std::string& folder : report.readOnlyFolders) std::printf("readonly %s\n", folder.c_str());
  return report.ok ? 0 : 1;
}

bool Wanted(int argc, wchar_t** argv, const wchar_t* group) {
  if (argc <= 4) return true;
  for (int i = 4; i < argc; ++i)
    if (wcscmp(argv[i], group) == 0) return true;
  return false;
}

int RunCommand(int argc, wchar_t** argv) {
  e2e::Settings settings{argv[2], argv[3]};
  if (!settings.outDir.empty() && settings.outDir.back() != L'\\') settings.outDir += L'\\';
  CreateDirectoryW(settings.outDir.c_str(), nullptr);

  DWORD deadline = kDefaultDeadlineSeconds;
  if (const char* text = std::getenv("E2E_DEADLINE")) deadline = static_cast<DWORD>(std::atoi(text));
  // Whatever hangs, the run ends with a verdict.
  e2e::StartWatchdog(deadline, [deadline] {
    std::printf("FAIL run_deadline: the cases did not finish within %u s\n", static_cast<unsigned>(deadline));
    if (g_report) std::printf("%d passed, %d failed\n", g_report->Passed(), g_report->Failed() + 1);
  });

  e2e::Report report;
  g_report = &report;
  if (Wanted(argc, argv, L"startup")) e2e::RunStartupCases(report, settings);
  if (Wanted(argc, argv, L"road")) e2e::RunRoadCases(report, settings);
  if (Wanted(argc, argv, L"windows")) e2e::RunWindowCases(report, settings);
  if (Wanted(argc, argv, L"interrupt")) e2e::RunInterruptCases(report, settings);
  if (argc > 4 && Wanted(argc, argv, L"stock-fonts")) e2e::RunStockFontCases(report, settings);
  report.PrintTotals();
  return report.Failed() == 0 && report.Passed() > 0 ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // plain LF lines for the scripts
  if (argc >= 2 && wcscmp(argv[1], L"seed") == 0) return SeedCommand();
  if (argc >= 4 && wcscmp(argv[1], L"run") == 0) return RunCommand(argc, argv);
  if (argc == 4 && wcscmp(argv[1], L"opened") == 0) return e2e::RecordOpened(argv[2], argv[3]);
  std::fprintf(stderr, "usage: veltrane_e2e seed | run <veltrane.exe> <screenshot folder> [startup] [road] [link] [interrupt]\n");
  return 2;
}
