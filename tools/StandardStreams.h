#pragma once
// A program started with standard input, output or error closed would hand
// those descriptor numbers to the next files it opens, and write its edge map
// or its messages into them. They are taken by /dev/null at once instead.
// Which descriptors the caller passed open is remembered, so that /dev/fd/N
// never reaches one that Qt opened for itself.

// Call first thing in main, before Qt opens anything.
void guardStandardStreams();

// Whether `descriptor`, 0, 1 or 2, was closed when the program started.
bool standardStreamWasClosed(int descriptor);

// Whether the caller passed `descriptor` open.
bool passedOpen(int descriptor);
