#ifndef ZEMBRAX_APP_ANALYSIS_ANALYSISJOB_H_
#define ZEMBRAX_APP_ANALYSIS_ANALYSISJOB_H_

// Cracking and identifying off the GUI thread: one job at a time, each on a
// thread of its own with a copy of its input, and only the result of the
// job last asked for handed back.

#include <QObject>
#include <QTimer>

#include <atomic>
#include <cstdint>
#include <functional>
#include <list>
#include <string>
#include <thread>
#include <variant>

#include "analysis/Crack.h"
#include "analysis/Identify.h"

// What a job gives: a cracker's report, an identification, or why it failed.
using AnalysisOutcome = std::variant<analysis::Report, analysis::Identification, std::string>;
// A job's work, run off the GUI thread; it ends early once `stop` is set.
using AnalysisWork = std::function<AnalysisOutcome(const std::atomic<bool>& stop)>;

// The work of cracking `input` with `cipher`, keeping `top` candidates.
AnalysisWork crackWork(analysis::Cipher cipher, std::string input, std::size_t top);
// The work of naming what `input` is, keeping `top` chains.
AnalysisWork identifyWork(std::string input, std::size_t top);

class AnalysisRunner : public QObject {
  Q_OBJECT

 public:
  explicit AnalysisRunner(QObject* parent = nullptr);
  // Stops every job still running and waits for its thread, which a stop
  // ends within a few milliseconds.
  ~AnalysisRunner() override;

  // Runs `work` on a thread of its own; a job still running is stopped and
  // its result dropped.
  void start(AnalysisWork work);
  // Stops the running job and drops its result, as when its input or
  // options changed since it started; nothing without one.
  void drop();
  bool isRunning() const { return running; }

  // A job running longer than this shows that it is busy.
  static constexpr int kBusyDelayMs = 100;

 signals:
  // The result of the job last started, unless dropped since.
  void finished(const AnalysisOutcome& outcome);
  // On once a job has run kBusyDelayMs, off when it ends or is dropped.
  void busyChanged(bool busy);
  // On when a job starts, off when it ends or is dropped.
  void runningChanged(bool running);

 private:
  struct Job {
    std::uint64_t generation;
    std::atomic<bool> stop = false;
    std::thread thread;
  };

  // Takes the outcome of the job of `generation` on the GUI thread, and
  // waits for its thread, which has nothing left to do.
  void deliver(std::uint64_t generation, const AnalysisOutcome& outcome);
  void setBusy(bool on);
  void setRunning(bool on);

  std::list<Job> jobs;  // running or about to be waited for; a list keeps `stop` in place
  std::uint64_t generation = 0;
  bool running = false;
  bool busy = false;
  QTimer busyTimer;
};

#endif  // ZEMBRAX_APP_ANALYSIS_ANALYSISJOB_H_
