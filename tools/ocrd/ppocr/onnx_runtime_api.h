#pragma once
// ONNX Runtime's C API header, as every source of the service includes it. On Windows the header
// is written for the Microsoft compiler: it relies on an annotation of its sal.h that MinGW's
// lacks (it annotates and nothing else) and on the old spelling of the stdcall convention, which
// MinGW knows only in its GNU dialect (and which 64-bit code ignores anyway).
#if defined(_WIN32) && !defined(_Return_type_success_)
#define _Return_type_success_(expression)
#endif
#if defined(__MINGW32__) && !defined(_stdcall)
#define _stdcall __stdcall
#endif
#include <onnxruntime_c_api.h>
