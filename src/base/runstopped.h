#pragma once
// Thrown from a run's progress callback once the user pressed "中止": the run stops after the
// file or group in hand. Widget-free so the core can name it.
#include <exception>

struct RunStopped : std::exception {
    explicit RunStopped(int done) : Done(done) {}
    const char* what() const noexcept override { return "run stopped"; }
    int Done; // files handled before the stop
};
