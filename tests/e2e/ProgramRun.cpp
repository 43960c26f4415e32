#include "tests/e2e/ProgramRun.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace e2e {

namespace {

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

ProgramRun::ProgramRun() {
    std::filesystem::copy(test::DemoWorldDir(), Dir(), std::filesystem::copy_options::recursive);
    env = {{"ORVANDEL_DISPLAY", "null"},
           {"ORVANDEL_AUDIO", "record"},
           {"ORVANDEL_VIRTUAL_CLOCK", "15"},
           {"ORVANDEL_TRACE", "1"},
           {"ORVANDEL_BOX_ANSWER", "ignore"}};
}

int ProgramRun::Run(const std::vector<std::string>& script) {
    std::string text;
    for (const std::string& line : script)
        text += line + "\n";
    m_dir.WriteFile("e2e_script.txt", text);
    env["ORVANDEL_SCRIPT"] = "e2e_script.txt";

    std::string command = "cd '" + Dir().string() + "' && env";
    for (const auto& [name, value] : env)
        command += " " + name + "='" + value + "'";
    command += " '" ORV_PROGRAM "' 2> e2e_stderr.txt; echo $? > e2e_exit.txt";
    std::system(command.c_str());
    m_stderr = ReadAll(PathOf("e2e_stderr.txt"));
    const std::string code = ReadAll(PathOf("e2e_exit.txt"));
    return code.empty() ? -1 : std::atoi(code.c_str());
}

std::vector<std::string> ProgramRun::Lines() const {
    std::vector<std::string> lines;
    std::istringstream in(m_stderr);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

int ProgramRun::IndexOf(const std::string& line) const {
    const std::vector<std::string> lines = Lines();
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i] == line)
            return static_cast<int>(i);
    return -1;
}

bool ProgramRun::Has(const std::string& line) const {
    return IndexOf(line) >= 0;
}

} // namespace e2e
