// The Active Accessibility calls the program makes, from oleacc, ole32 and
// oleaut32, which are not imported: they are loaded when a screen reader
// (or another client) first asks a window for its object, so that a start
// without one pays nothing for them.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <string_view>

// IAccessible's interface id, kept here rather than taken from a library.
extern const IID kIidAccessible;

// Initialises COM on the calling thread once, as LresultFromObject needs.
// False when the libraries cannot be loaded or COM refuses.
bool startAccessibility();
// Ends what startAccessibility began (at the window's destruction): clients
// still holding objects are disconnected from them.
void endAccessibility();

// LresultFromObject; 0 when the library is missing or the call fails.
LRESULT resultFromObject(REFIID iid, WPARAM wParam, IUnknown* object);

// A BSTR with a copy of `text` (SysAllocStringLen); null when short of memory.
BSTR allocateBstr(std::wstring_view text);

// The system's object for the window itself (AccessibleObjectFromWindow with
// OBJID_WINDOW), for an object's parent. Null when there is none.
IDispatch* standardWindowObject(HWND window);
