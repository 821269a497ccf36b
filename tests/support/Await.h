#pragma once
// Runs the event loop until condition holds, for at most 30 seconds: players and decoders
// answer through it.
#include <functional>

bool Await(const std::function<bool()>& condition);
