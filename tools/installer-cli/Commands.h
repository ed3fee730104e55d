#pragma once
#include <string>
#include <vector>

// Each subcommand takes the arguments after its name and returns the process exit code.
int RunConfigCommand(const std::vector<std::wstring>& args);
int RunSysinfoCommand(const std::vector<std::wstring>& args);
int RunInstallCommand(const std::vector<std::wstring>& args);
int RunUninstallCommand(const std::vector<std::wstring>& args);
int RunDownloadCommand(const std::vector<std::wstring>& args);
int RunHttpCommand(const std::vector<std::wstring>& args);
int RunPipelineCommand(const std::vector<std::wstring>& args);
int RunRecordsCommand(const std::vector<std::wstring>& args);
int RunPromptCommand(const std::vector<std::wstring>& args);
int RunProxyCommand(const std::vector<std::wstring>& args);
