// Registers and removes a task in the root folder of Windows' task scheduler.
#pragma once

#include <string>

namespace seltane {

// Creates or replaces the task `name` from its XML definition, for the
// current user with an interactive token. Empty on success, else what failed.
std::string RegisterScheduledTask(const std::string& name, const std::string& xml);
// Removes the task `name`; a task that is not there counts as removed.
std::string RemoveScheduledTask(const std::string& name);
// The XML of the registered task `name`, or empty when there is none.
std::string ScheduledTaskXml(const std::string& name);

}  // namespace seltane
