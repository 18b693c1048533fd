// What a call writes to standard output, on either tier: a real pipe on Windows, the
// stand-in's record of successful writes on the host.
#pragma once

#include <functional>
#include <string>

std::string capture_output(const std::function<void()> &fn);
