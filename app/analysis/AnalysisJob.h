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
#include <optional>
#include <string>
#include <thread>
#include <variant>

#include "analysis/Crack.h"
#include "analysis/Identify.h"

// What a job gives: a cracker's report, an identification, or why it failed.
using AnalysisOutcome = std::variant<analysis::Report, analysis::Identification, std::string>;
// A job's work on its input, run off the GUI thread; it ends early once
// `stop` is set.
using AnalysisWork =
    std::function<AnalysisOutcome(const std::string& input, const std::atomic<bool>& stop)>;

// The work of cracking the input with `cipher`, keeping `top` candidates.
AnalysisWork crackWork(analysis::Cipher cipher, std::size_t top, std::string crib);
// The work of naming what the input is, keeping `top` chains; or, for a
// `method`, of ranking its variants (see Variants.h).
AnalysisWork identifyWork(std::size_t top, std::string crib,
                          const methods::Method* method = nullptr);

class AnalysisRunner : public QObject {
  Q_OBJECT

 public:
  explicit AnalysisRunner(QObject* parent = nullptr);
  // Stops every job still running and waits for its thread, which a stop
  // ends within a few milliseconds.
  ~AnalysisRunner() override;

  // Copies the first `length` bytes of `source`, a slice at each turn of the
  // event loop so that a long text never holds the GUI up, then runs `work`
  // on the copy on a thread of its own. A job still copying or running is
  // stopped and its result dropped. `source` must stay where it is while the
  // job copies, and the job be dropped before it changes.
  void start(const std::string& source, std::size_t length, AnalysisWork work);
  // Stops the running job and drops its result, as when its input or
  // options changed since it started; nothing without one.
  void drop();
  bool isRunning() const { return running; }

  // A job running longer than this shows that it is busy.
  static constexpr int kBusyDelayMs = 100;
  // The bytes copied at one turn of the event loop: a few milliseconds'
  // work, even into memory that the process never touched before.
  static constexpr std::size_t kCopySlice = std::size_t{1} << 20;

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

  // The input of the job to come, copied so far.
  struct Copy {
    const std::string* source;
    std::size_t length;
    std::string bytes;
    AnalysisWork work;
  };

  // Copies the next slice of the input; once it is whole, starts the job.
  void copySlice();
  // Runs `work` on `input` on a thread of its own.
  void launch(std::string input, AnalysisWork work);
  // Takes the outcome of the job of `generation` on the GUI thread, and
  // waits for its thread, which has nothing left to do.
  void deliver(std::uint64_t generation, const AnalysisOutcome& outcome);
  void setBusy(bool on);
  void setRunning(bool on);

  std::optional<Copy> copying;
  QTimer copyTimer;
  std::list<Job> jobs;  // running or about to be waited for; a list keeps `stop` in place
  std::uint64_t generation = 0;
  bool running = false;
  bool busy = false;
  QTimer busyTimer;
};

#endif  // ZEMBRAX_APP_ANALYSIS_ANALYSISJOB_H_
