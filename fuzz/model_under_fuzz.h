// The window model as the fuzz targets drive it: brought once to a state by
// setup actions, then given the fuzzer's actions. A refused action must
// leave the state as it was (else the target aborts with the first line
// that changed); an accepted one changed it, and the next input starts
// from there.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "app/box.h"
#include "app/main_window.h"
#include "app/script/action_runner.h"
#include "device/clock.h"
#include "support/model_snapshot.h"
#include "support/recording_port.h"

namespace rovanel::fuzz {

class ModelUnderFuzz {
 public:
  explicit ModelUnderFuzz(std::vector<std::string> setup) : setup_(std::move(setup)) { Build(); }

  // A folder of this process for the files and the user's settings, in
  // memory where the system has it.
  static const std::string& Folder() {
    static const std::string dir = [] {
      const std::filesystem::path base =
          std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
      const std::filesystem::path d = base / ("rovanel-fuzz-" + std::to_string(::getpid()));
      std::filesystem::create_directories(d / "home");
      return d.string();
    }();
    return dir;
  }
  static std::string File(const char* name) { return Folder() + "/" + name; }
  // Before the first model: the settings go to the process's own folder.
  static void Prepare() { ::setenv("ROVANEL_HOME", (Folder() + "/home").c_str(), 1); }

  static void Write(const std::string& file, std::span<const std::uint8_t> bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }

  void RunChecked(const std::vector<std::string>& actions) {
    err_.str("");
    port_->messages.clear();
    port_->status.clear();
    if (runner_->RunAll(actions)) {
      // Taken: the state it made is the one the next input starts from
      // (building the model again would cost more than the run).
      before_ = support::ModelSnapshot(*fp_);
      return;
    }
    const std::string after = support::ModelSnapshot(*fp_);
    if (after != before_) {
      std::fprintf(stderr, "a refused input changed the model: %s\nafter %s: %s\n",
                   support::FirstDifference(before_, after).c_str(), actions.front().c_str(),
                   err_.str().c_str());
      std::abort();
    }
  }

 private:
  void Build() {
    runner_.reset();
    fp_.reset();
    box_.reset();
    port_ = std::make_unique<support::RecordingPort>();
    clock_ = std::make_unique<device::ManualClock>();
    app::BoxOptions options;
    options.kind = app::BoxKind::Sim;
    box_ = std::make_unique<app::Box>(options, *clock_);
    fp_ = std::make_unique<app::TFp>(*box_, *port_);
    fp_->FormCreate();
    fp_->FormShow();
    runner_ = std::make_unique<script::ActionRunner>(*fp_, out_, err_);
    if (!runner_->RunAll(setup_)) {
      std::fprintf(stderr, "the setup failed: %s\n", err_.str().c_str());
      std::abort();
    }
    before_ = support::ModelSnapshot(*fp_);
    if (before_.find("dump failed") != std::string::npos) std::abort();
  }

  std::vector<std::string> setup_;
  std::unique_ptr<device::ManualClock> clock_;
  std::unique_ptr<support::RecordingPort> port_;
  std::unique_ptr<app::Box> box_;
  std::unique_ptr<app::TFp> fp_;
  std::ostringstream out_, err_;
  std::unique_ptr<script::ActionRunner> runner_;
  std::string before_;
};

}  // namespace rovanel::fuzz
