#include "app/AboutDialog.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

#include "screens/picture/ThresholdSuggestion.h"

namespace {
QString helpText() {
  const ThresholdRule rule;
  return AboutDialog::tr(
             "<h3>%1 %2</h3>"
             "<p>Canny edge detection on still pictures: a sample picture on each of the first "
             "four tabs, a camera picture (or a picture file), shown at an eighth of its width "
             "and height, on the fifth. Apply shows the edge map, Reset the picture.</p>"
             "<h4>The sliders</h4>"
             "<p><b>T1</b>, the low threshold: gradient magnitudes below it are never edges; an "
             "edge, once started, is followed through neighbours above T1.<br>"
             "<b>T2</b>, the high threshold: a thinned gradient magnitude of at least T2 starts "
             "an edge.<br>"
             "<b>Sigma</b>: the width, in pixels, of the smoothing before the gradients; 0 "
             "smooths not at all.<br>"
             "<b>Steps</b>: the number of smoothing passes; more passes come closer to a true "
             "Gaussian blur. Used as a whole number.</p>"
             "<p><b>Suggest T1, T2</b> sets T2 to the thinned gradient magnitude that the "
             "strongest %3 % of the picture's pixels reach, so that they start edges, and T1 to "
             "%4 % of T2. It smooths first: Sigma at least %5 (an unsmoothed photograph gives "
             "an edge map of noise), raised step by step while T2 would come above %6 % of its "
             "slider's range, since smoothing lowers every magnitude; Steps at least %7. "
             "<b>Defaults</b> puts the sliders back to "
             "their start values. With <b>Live</b> on, the edge map follows the sliders while "
             "they move. The status line gives the <tt>canny</tt> command that makes the same "
             "edge map from the picture file.</p>"
             "<h4>Above the picture</h4>"
             "<p><b>Open</b> works on a picture of your own (or drop one on the tab), at its full "
             "size; <b>Revert</b> goes back to the sample. <b>Save</b> writes the map or stage "
             "shown as 8-bit gray PNG or PGM, edge maps as exactly 0 and 255; <b>Copy</b> puts "
             "it on the clipboard. The stage choice shows what the detector makes on its way: "
             "the smoothed picture, the gradient magnitude, the magnitudes left by thinning, or "
             "the edge map; magnitudes are scaled so that the largest is white, and the value "
             "drawn white is shown. <b>Hysteresis classes</b> colours each thinned magnitude by "
             "what hysteresis made of it: yellow seeds (at least T2), blue weak pixels (from T1, "
             "below T2) kept because they join a seed, orange weak pixels dropped. <b>Over "
             "picture</b> draws the edges in red on the picture. <b>Split</b> shows the picture "
             "left of a divider and the edges right of it; drag the divider, or move it with the "
             "arrow keys.</p>"
             "<h4>How the detector decides</h4>"
             "<p>Below the controls, the histogram counts the magnitudes left by thinning (log "
             "scale), coloured as hysteresis takes them, with T1 and T2 as markers: drag one, or "
             "click the histogram and choose one with Up and Down and move it with the arrow "
             "keys. The line under the picture tells, for the pixel under the pointer, its "
             "gray value, smoothed value, gradients gx and gy, magnitude, the sector thinning "
             "compares along (the arrows name the two neighbours) and its class.</p>"
             "<h4>Keys</h4>"
             "<table>"
             "<tr><td>Ctrl+O</td><td>open a picture</td></tr>"
             "<tr><td>Ctrl+S</td><td>save what is shown</td></tr>"
             "<tr><td>Ctrl+C</td><td>copy what is shown</td></tr>"
             "<tr><td>Space (held)</td><td>the original picture, on the picture</td></tr>"
             "<tr><td>+ and &minus;, wheel</td><td>zoom in and out; drag to pan</td></tr>"
             "<tr><td>1 / 0 or F</td><td>pixels at their size / the picture fitted</td></tr>"
             "<tr><td>Ctrl+1, Ctrl+0, Ctrl++, Ctrl+&minus;</td><td>the same from anywhere on "
             "the tab</td></tr>"
             "<tr><td>Mouse held on the picture</td><td>the original picture</td></tr>"
             "<tr><td>Arrows, Page Up/Down</td><td>move the focused slider</td></tr>"
             "<tr><td>Alt+L, Alt+U, Alt+D</td><td>Live, Suggest, Defaults</td></tr>"
             "<tr><td>Return</td><td>in the camera window: take the picture</td></tr>"
             "<tr><td>F1</td><td>this help</td></tr>"
             "</table>")
      .arg(QCoreApplication::applicationName(), QCoreApplication::applicationVersion())
      .arg(qRound(rule.seedShare * 100))
      .arg(qRound(rule.lowFraction * 100))
      .arg(double(rule.leastSigma))
      .arg(qRound(rule.t2Headroom * 100))
      .arg(rule.passesWhenNone);
}
}  // namespace

AboutDialog::AboutDialog(QWidget *parent) : QDialog(parent), _text(new QLabel(helpText())) {
  setWindowTitle(tr("About Canny Demo"));
  _text->setWordWrap(true);
  _text->setTextFormat(Qt::RichText);
  _text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  auto *scroll = new QScrollArea(this);
  scroll->setWidget(_text);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(scroll, 1);
  layout->addWidget(buttons);
  resize(560, 620);
}
