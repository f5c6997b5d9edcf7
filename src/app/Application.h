#pragma once

namespace vorlu {

// The whole program: options, program folder, adapters, start-up window, main
// window and event loop. Returns the exit status.
int runApplication(int argc, char** argv);

} // namespace vorlu
