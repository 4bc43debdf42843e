// The subcommands of intro-render. Each takes the arguments after its name and returns the
// process exit code.
#pragma once

int run_wav(int argc, char** argv);
