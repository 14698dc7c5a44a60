#pragma once
// An output is written under a hidden name beside its final one and renamed
// when the whole input has been converted: an interrupted run leaves no half
// file under a final name, and --skip-existing can trust what it finds. A run
// killed outright leaves its part files; the next run over the same outputs
// removes them.

#include <string>
#include <vector>

namespace qov {

// ".NAME.HOST.qov-part-PID" beside `output`, HOST and PID this process's, so
// that a later run can tell whether the run that wrote it is gone.
std::string PartName(const std::string& output);

// Removes the part files of `outputs` whose run, on this machine, is gone.
void RemoveStaleParts(const std::vector<std::string>& outputs);

}  // namespace qov
