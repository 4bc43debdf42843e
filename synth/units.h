// The unit routines that the patch machine dispatches by opcode.
#pragma once

#include "patch_vm.h"

// Generators.
void op_envelope(UnitContext& c);
void op_oscillator(UnitContext& c);

// Effects and routing.
void op_mul(UnitContext& c);
void op_delay(UnitContext& c);
void op_pan(UnitContext& c);
void op_out_aux(UnitContext& c);
void op_send(UnitContext& c);
void op_load_note(UnitContext& c);
void op_in(UnitContext& c);
void op_out(UnitContext& c);
