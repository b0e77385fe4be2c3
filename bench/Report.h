#pragma once
// The benchmark's findings as tables: printed on the terminal and written as Markdown.
#include <ostream>
#include <string>
#include <vector>

namespace bench {

struct Table {
  std::string title;
  std::string note;  // one paragraph under the title, may be empty
  std::vector<std::string> header;
  std::vector<std::vector<std::string>> rows;
};

struct Goal {
  std::string goal;
  std::string measured;
  bool holds = false;
};

class Report {
 public:
  void Add(Table table) { tables_.push_back(std::move(table)); }
  void AddGoal(Goal goal) { goals_.push_back(std::move(goal)); }
  void AddRemark(std::string remark) { remarks_.push_back(std::move(remark)); }
  bool AllGoalsHold() const;

  // Aligned plain-text tables.
  void Print(std::ostream& out) const;
  // The whole RESULTS.md: what ran where and when, then every table.
  std::string Markdown(const std::string& command) const;

 private:
  std::vector<Table> tables_;
  std::vector<Goal> goals_;
  std::vector<std::string> remarks_;
};

// "3.14" with the given number of decimals.
std::string Fixed(double value, int decimals);
// "2 x Intel(R) Xeon(R) ..." from the processor count and /proc/cpuinfo.
std::string MachineSummary();

}  // namespace bench
