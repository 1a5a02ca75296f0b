#pragma once
// Reads a Keyboard.xml with the system's SAX XML reader (version 3.0, through COM), handing its
// callbacks to the keyboard's handler.
#include "languages/Languages.h"

// Parses the file at the full path into the handler. kNoReader when the system has no SAX
// reader (or COM is not started on this thread).
gw::LanguagePort::ReadResult ReadKeyboardFileWithSax(const std::u16string& path,
                                                     gw::KeyboardXmlHandler& handler);
