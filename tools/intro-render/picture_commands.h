// The picture subcommands of intro-render. Each takes the arguments after its name and returns
// the process exit code: 0 done, 1 failed, 2 bad usage.
#pragma once

int run_frame(int argc, char** argv);
int run_sheet(int argc, char** argv);
