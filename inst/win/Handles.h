// The shared owners of the system's handles, by the names the installer uses.
#pragma once

#include "win/Handles.h"

namespace setup {

using quillbox::win::ComApartment;
using quillbox::win::ComPtr;
using quillbox::win::FindHandle;
using quillbox::win::KernelHandle;
using quillbox::win::LoadedLibrary;
using quillbox::win::MemoryDc;
using quillbox::win::NullIfInvalid;
using quillbox::win::RegistryKey;
using quillbox::win::ScreenDc;
using quillbox::win::Scoped;
using quillbox::win::Selected;
using quillbox::win::SidPointer;

} // namespace setup
