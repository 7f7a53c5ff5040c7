#pragma once
// The program's platform on fakes: the five fakes and the services made of
// them, for every fixture that runs the program's own code.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "control_names.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_files.h"
#include "platform/fake/fake_launcher.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_runtime.h"
#include "platform/services.h"

namespace veltrane::testing {

// Notes of the platform calls that matter, interleaved with the runtime's log.
class Notes {
 public:
  explicit Notes(fake::FakeRuntime& runtime) : runtime_(runtime) {}
  void Add(std::string line) { notes_.emplace_back(runtime_.LogMark(), std::move(line)); }
  // The runtime's log with the notes in place; "events #k" reads "events".
  std::vector<std::string> Merged(std::size_t from = 0) const {
    std::vector<std::string> out;
    std::size_t note = 0;
    const std::vector<std::string>& log = runtime_.Log();
    for (std::size_t i = 0; i <= log.size(); ++i) {
      for (; note < notes_.size() && notes_[note].first == i; ++note)
        if (i >= from) out.push_back(notes_[note].second);
      if (i == log.size() || i < from) continue;
      out.push_back(log[i].rfind("events #", 0) == 0 ? "events" : log[i]);
    }
    return out;
  }

 private:
  fake::FakeRuntime& runtime_;
  std::vector<std::pair<std::size_t, std::string>> notes_;
};

class RecordingFiles : public fake::FakeFileSystem {
 public:
  explicit RecordingFiles(Notes& notes) : notes_(notes) {}
  std::unique_ptr<platform::DirListing> List(const std::string& folder, std::uint32_t filter) override {
    notes_.Add("list " + folder + " " + std::to_string(filter));
    return FakeFileSystem::List(folder, filter);
  }
  bool Delete(const std::string& path) override {
    notes_.Add("delete " + path);
    return FakeFileSystem::Delete(path);
  }
  std::unique_ptr<platform::WipeTarget> OpenToErase(const std::string& path) override {
    notes_.Add("wipe " + path);
    return FakeFileSystem::OpenToErase(path);
  }
  std::unique_ptr<platform::ByteStream> OpenRead(const std::string& path) override {
    notes_.Add("read " + path);
    return FakeFileSystem::OpenRead(path);
  }

 private:
  Notes& notes_;
};

class RecordingRegistry : public fake::FakeRegistry {
 public:
  explicit RecordingRegistry(Notes& notes) : notes_(notes) {}
  platform::RegStatus QueryInfo(platform::RegKey key, const std::string& name, std::uint32_t& type,
                                std::uint32_t& size) override {
    notes_.Add("query " + name);
    return FakeRegistry::QueryInfo(key, name, type, size);
  }
  platform::RegStatus DeleteValue(platform::RegKey key, const std::string& name) override {
    notes_.Add("delete value " + name);
    return FakeRegistry::DeleteValue(key, name);
  }

 private:
  Notes& notes_;
};

// The registry and the files note what they are asked (a test that reads
// only the fakes' state never looks at the notes); the runtime's log names
// each control as its window's design does.
class FakePlatformTest : public ::testing::Test {
 protected:
  FakePlatformTest() { runtime.SetControlNames(ControlNames()); }

  fake::FakeRuntime runtime;
  Notes notes{runtime};
  RecordingRegistry registry{notes};
  RecordingFiles files{notes};
  fake::FakeDesktop desktop;
  fake::FakeLauncher launcher;
  platform::Services services{registry, files, desktop, launcher, runtime};
};

}  // namespace veltrane::testing
