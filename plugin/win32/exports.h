#pragma once
// The plug-in's exports, declared once from the export table with C linkage: a definition whose
// parameters or result differ from its row does not compile, and velmora.def names each.
#include "plugin/plugin_exports.h"

#define VLM_DECLARE_EXPORT(name, result, args) extern "C" result VLM_STDCALL name args;
VLM_PLUGIN_CALLBACKS(VLM_DECLARE_EXPORT)
#undef VLM_DECLARE_EXPORT
