// Start and stop of the library.
//
// Loading the library registers it as an extension module of the framework and puts one entry for
// it on the resource chain, so that its resources (the message catalogue, dialog templates and
// icons) are found by resource look-ups made anywhere in the process; unloading ends that.
// Everything else initialises itself lazily on first use.
#pragma once

#include <bwcore/export.h>

// Adds one further resource-chain entry (a CDynLinkLibrary) for the library on each call.
BW_EXTERN_C BWCORE_API void BWCoreInit(void);
