#include "AnalysisJob.h"

#include <algorithm>
#include <memory>
#include <new>
#include <string_view>
#include <utility>

#include "analysis/Variants.h"

namespace {

// A cracker is fed a large text in pieces of this size, and hears a stop
// between them.
constexpr std::size_t kPiece = std::size_t{1} << 20;

// What a job stopped before it had its answer gives.
analysis::Report cancelledReport() {
  analysis::Report report{};
  report.note = analysis::kCancelled;
  return report;
}

}  // namespace

AnalysisWork crackWork(analysis::Cipher cipher, std::size_t top, std::string crib) {
  return [cipher, top, crib = std::move(crib)](const std::string& input,
                                               const std::atomic<bool>& stop) -> AnalysisOutcome {
    analysis::CrackSettings settings;
    settings.top = top;
    settings.crib = crib;
    settings.stop = &stop;
    const std::unique_ptr<analysis::Cracker> cracker = analysis::makeCracker(cipher, settings);
    for (std::size_t at = 0; at < input.size(); at += kPiece) {
      if (stop) return cancelledReport();
      cracker->feed(std::string_view(input).substr(at, kPiece));
    }
    return cracker->finish();
  };
}

AnalysisWork identifyWork(std::size_t top, std::string crib, const methods::Method* method) {
  return [top, crib = std::move(crib), method](const std::string& input,
                                               const std::atomic<bool>& stop) -> AnalysisOutcome {
    analysis::IdentifySettings settings;
    settings.top = top;
    settings.crib = crib;
    settings.stop = &stop;
    return method != nullptr ? analysis::searchVariants(*method, input, settings)
                             : analysis::identify(input, settings);
  };
}

AnalysisRunner::AnalysisRunner(QObject* parent) : QObject(parent) {
  busyTimer.setSingleShot(true);
  copyTimer.setSingleShot(true);
  busyTimer.setInterval(kBusyDelayMs);
  connect(&busyTimer, &QTimer::timeout, this, [this] { setBusy(true); });
  connect(&copyTimer, &QTimer::timeout, this, &AnalysisRunner::copySlice);
}

AnalysisRunner::~AnalysisRunner() {
  for (Job& job : jobs)
    job.stop = true;
  for (Job& job : jobs)
    if (job.thread.joinable()) job.thread.join();
}

void AnalysisRunner::start(const std::string& source, std::size_t length, AnalysisWork work) {
  drop();
  copying = Copy{&source, std::min(length, source.size()), {}, std::move(work)};
  setRunning(true);
  busyTimer.start();
  copySlice();
}

void AnalysisRunner::copySlice() {
  Copy& copy = *copying;
  try {
    // Room for it all at once, which costs nothing until it is written,
    // rather than growing and moving what was copied.
    copy.bytes.reserve(copy.length);
    const std::size_t at = copy.bytes.size();
    copy.bytes.append(*copy.source, at, std::min(kCopySlice, copy.length - at));
  } catch (const std::bad_alloc&) {
    drop();
    emit finished(std::string("there is not the memory for it"));
    return;
  }
  if (copy.bytes.size() < copy.length) {
    copyTimer.start(0);
    return;
  }
  Copy whole = std::move(copy);
  copying.reset();
  launch(std::move(whole.bytes), std::move(whole.work));
}

void AnalysisRunner::launch(std::string input, AnalysisWork work) {
  Job& job = jobs.emplace_back();
  job.generation = generation;
  try {
    job.thread = std::thread([this, &job, input = std::move(input), work = std::move(work)] {
      AnalysisOutcome outcome;
      try {
        outcome = work(input, job.stop);
      } catch (const std::bad_alloc&) {
        outcome = std::string("there is not the memory for it");
      } catch (const std::exception& error) {
        outcome = std::string(error.what());
      }
      // Handed over whole; the runner outlives every thread it started.
      auto result = std::make_shared<const AnalysisOutcome>(std::move(outcome));
      QMetaObject::invokeMethod(
          this, [this, of = job.generation, result] { deliver(of, *result); },
          Qt::QueuedConnection);
    });
  } catch (const std::system_error& error) {
    jobs.pop_back();
    setBusy(false);
    setRunning(false);
    emit finished(std::string(error.what()));
  }
}

void AnalysisRunner::drop() {
  ++generation;
  copyTimer.stop();
  copying.reset();
  for (Job& job : jobs)
    job.stop = true;
  setBusy(false);
  setRunning(false);
}

void AnalysisRunner::deliver(std::uint64_t of, const AnalysisOutcome& outcome) {
  const auto done =
      std::find_if(jobs.begin(), jobs.end(), [of](const Job& job) { return job.generation == of; });
  if (done != jobs.end()) {
    done->thread.join();
    jobs.erase(done);
  }
  if (of != generation || !running) return;
  setBusy(false);
  setRunning(false);
  emit finished(outcome);
}

void AnalysisRunner::setBusy(bool on) {
  if (!on) busyTimer.stop();
  if (busy == on) return;
  busy = on;
  emit busyChanged(on);
}

void AnalysisRunner::setRunning(bool on) {
  if (running == on) return;
  running = on;
  emit runningChanged(on);
}
