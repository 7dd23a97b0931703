#pragma once
// What a picture decoder says past Qt's message handler, kept for the thread
// that decodes. libtiff's messages go through handlers of ours, kept per
// thread, so TIFF pictures decode in parallel. libpng prints its errors
// straight to standard error, which only capturing the process's file
// descriptor 2 catches: for PNG (and formats only Qt's plugins know) a
// StandardErrorCapture is taken, one decode at a time.
#include <QByteArray>
#include <optional>

#include "imaging/StandardErrorCapture.h"

class DecoderMessages {
 public:
  // `first`: the picture file's first bytes, which tell its format.
  explicit DecoderMessages(const QByteArray &first);
  ~DecoderMessages();
  DecoderMessages(const DecoderMessages &) = delete;
  DecoderMessages &operator=(const DecoderMessages &) = delete;

  // Ends the keeping; returns what the decoder printed meanwhile, one
  // message a line.
  QByteArray finish();

 private:
  std::optional<StandardErrorCapture> _standardError;
  QByteArray _kept;
  bool _keeping = false;
};
