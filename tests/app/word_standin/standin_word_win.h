#pragma once
// The stand-in's Application object: a new one, with its own documents, for every instance the
// class factory makes (one reference, owned by the caller).
#include <oaidl.h>
#include <windows.h>

namespace lumenta::standin {

IDispatch* NewApplication();

}  // namespace lumenta::standin
