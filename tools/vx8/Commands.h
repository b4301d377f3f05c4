#pragma once

#include <ostream>
#include <string>
#include <vector>

// The commands of the vx8 tool. Each gets the arguments after the command word, already counted
// by the caller, writes its report to out and returns the exit status; failures raise
// KelException.
int RunPack(const std::vector<std::string>& args, std::ostream& out);
int RunList(const std::vector<std::string>& args, std::ostream& out);
int RunExport(const std::vector<std::string>& args, std::ostream& out);
int RunCheck(const std::vector<std::string>& args, std::ostream& out);
int RunSheet(const std::vector<std::string>& args, std::ostream& out);
int RunUnpack(const std::vector<std::string>& args, std::ostream& out);
