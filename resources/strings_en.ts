<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About Canny Demo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;h3&gt;%1 %2&lt;/h3&gt;&lt;p&gt;Canny edge detection on still pictures: a sample picture on each of the first four tabs, a camera picture (or a picture file), shown at an eighth of its width and height, on the fifth. Apply shows the edge map, Reset the picture.&lt;/p&gt;&lt;h4&gt;The sliders&lt;/h4&gt;&lt;p&gt;&lt;b&gt;T1&lt;/b&gt;, the low threshold: gradient magnitudes below it are never edges; an edge, once started, is followed through neighbours above T1.&lt;br&gt;&lt;b&gt;T2&lt;/b&gt;, the high threshold: a thinned gradient magnitude of at least T2 starts an edge.&lt;br&gt;&lt;b&gt;Sigma&lt;/b&gt;: the width, in pixels, of the smoothing before the gradients; 0 smooths not at all.&lt;br&gt;&lt;b&gt;Steps&lt;/b&gt;: the number of smoothing passes; more passes come closer to a true Gaussian blur. Used as a whole number.&lt;/p&gt;&lt;p&gt;&lt;b&gt;Suggest T1, T2&lt;/b&gt; sets T2 to the thinned gradient magnitude that the strongest %3 % of the picture&apos;s pixels reach, so that they start edges, and T1 to %4 % of T2. It smooths first: Sigma at least %5 (an unsmoothed photograph gives an edge map of noise), raised step by step while T2 would come above %6 % of its slider&apos;s range, since smoothing lowers every magnitude; Steps at least %7. &lt;b&gt;Defaults&lt;/b&gt; puts the sliders back to their start values. With &lt;b&gt;Live&lt;/b&gt; on, the edge map follows the sliders while they move. The status line gives the &lt;tt&gt;canny&lt;/tt&gt; command that makes the same edge map from the picture file.&lt;/p&gt;&lt;h4&gt;Above the picture&lt;/h4&gt;&lt;p&gt;&lt;b&gt;Open&lt;/b&gt; works on a picture of your own (or drop one on the tab), at its full size; &lt;b&gt;Revert&lt;/b&gt; goes back to the sample. &lt;b&gt;Save&lt;/b&gt; writes the map or stage shown as 8-bit gray PNG or PGM, edge maps as exactly 0 and 255; &lt;b&gt;Copy&lt;/b&gt; puts it on the clipboard. The stage choice shows what the detector makes on its way: the smoothed picture, the gradient magnitude, the magnitudes left by thinning, or the edge map; magnitudes are scaled so that the largest is white, and the value drawn white is shown. &lt;b&gt;Hysteresis classes&lt;/b&gt; colours each thinned magnitude by what hysteresis made of it: yellow seeds (at least T2), blue weak pixels (from T1, below T2) kept because they join a seed, orange weak pixels dropped. &lt;b&gt;Over picture&lt;/b&gt; draws the edges in red on the picture. &lt;b&gt;Split&lt;/b&gt; shows the picture left of a divider and the edges right of it; drag the divider, or move it with the arrow keys.&lt;/p&gt;&lt;h4&gt;How the detector decides&lt;/h4&gt;&lt;p&gt;Below the controls, the histogram counts the magnitudes left by thinning (log scale), coloured as hysteresis takes them, with T1 and T2 as markers: drag one, or click the histogram and choose one with Up and Down and move it with the arrow keys. The line under the picture tells, for the pixel under the pointer, its gray value, smoothed value, gradients gx and gy, magnitude, the sector thinning compares along (the arrows name the two neighbours) and its class.&lt;/p&gt;&lt;h4&gt;Keys&lt;/h4&gt;&lt;table&gt;&lt;tr&gt;&lt;td&gt;Ctrl+O&lt;/td&gt;&lt;td&gt;open a picture&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Ctrl+S&lt;/td&gt;&lt;td&gt;save what is shown&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Ctrl+C&lt;/td&gt;&lt;td&gt;copy what is shown&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Space (held)&lt;/td&gt;&lt;td&gt;the original picture, on the picture&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;+ and &amp;minus;, wheel&lt;/td&gt;&lt;td&gt;zoom in and out; drag to pan&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;1 / 0 or F&lt;/td&gt;&lt;td&gt;pixels at their size / the picture fitted&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Ctrl+1, Ctrl+0, Ctrl++, Ctrl+&amp;minus;&lt;/td&gt;&lt;td&gt;the same from anywhere on the tab&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Mouse held on the picture&lt;/td&gt;&lt;td&gt;the original picture&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Arrows, Page Up/Down&lt;/td&gt;&lt;td&gt;move the focused slider&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Alt+L, Alt+U, Alt+D&lt;/td&gt;&lt;td&gt;Live, Suggest, Defaults&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Return&lt;/td&gt;&lt;td&gt;in the camera window: take the picture&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;F1&lt;/td&gt;&lt;td&gt;this help&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AppDelegate</name>
    <message>
        <source>About Canny Demo, its sliders and keys (F1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be opened: the window is not built</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CameraDialog</name>
    <message>
        <source>Camera</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The camera to take the picture with</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show &amp;edges at the tab&apos;s settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The viewfinder shows the edge map of each frame it keeps up with</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No camera was found. You can open a picture file instead; it is shown at an eighth of its width and height.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Picture File…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Take</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The camera “%1” is not connected any more.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera error: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture cannot be taken: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture could not be taken: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The camera did not deliver a picture. Please try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pictures (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot open the picture “%1”: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The camera “%1” shows no picture. Choose another camera or open a picture file instead.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CameraHint</name>
    <message>
        <source>No picture yet. Take one with the camera or open a picture file; it is shown at an eighth of its width and height.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Take Picture…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open Picture File…</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CameraRunner</name>
    <message>
        <source>No camera is running.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ClassLegend</name>
    <message>
        <source>%1 seed %2 kept %3 dropped</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Seeds, at least T2: %1
Weak, from T1 below T2, kept because they join a seed: %2
Weak, dropped: %3</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DetectionPanel</name>
    <message>
        <source>&amp;Live</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S&amp;uggest T1, T2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Defaults</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cop&amp;y Command</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This picture has no gradients to suggest thresholds from.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the edge map while a slider moves</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Put the sliders back to their start values</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Detecting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Equivalent canny command</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The command-line tool&apos;s call that gives the same edge map</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No edge map: there was not enough memory for this picture.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 · detected in %2 ms · %3 edge pixels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No edges at these settings: no gradient reaches T2. Lower T2, or smooth less (Sigma, Steps).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Every pixel is an edge at these settings: with T2 at 0 every pixel starts an edge. Raise T2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 × %2 pixels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set T1 and T2 from this picture&apos;s gradients, smoothing more where they need it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The classes are worked out for pictures of up to %1 megapixels only.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FifthViewController</name>
    <message>
        <source>Cannot write the camera picture into %1: %2.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>an eighth of %1 × %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ImageView</name>
    <message>
        <source>Original</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ImagingText</name>
    <message>
        <source>not enough memory to detect edges</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot open: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>is a folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>byte 0x%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>row %1, column %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the picture&apos;s data is damaged at %1: more blanks and comments than its samples can need</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the picture&apos;s data is short, truncated at %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the picture&apos;s data is damaged at %1: %2 where a number should be</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the picture&apos;s data is damaged at %1: %2 where a bit, 0 or 1, should be</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a sample above the maxval %1 at %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not a Netpbm picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>broken Netpbm header (width, height and maxval 1 to %1 expected)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the picture has no pixels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the picture&apos;s data is short, truncated: the file holds %1 of its %2 rows</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>out of memory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the header declares %1 x %2 pixels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no IHDR chunk</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>an unknown BMP header size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a BMP depth or compression that is not known</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>more than 256 BMP palette colours</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BMP pixel data that overlaps its header</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>JPEG data between its segments</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a JPEG marker out of place</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a JPEG segment shorter than its length</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a JPEG frame header too short</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a JPEG scan before its frame header</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no VP8 start code</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no VP8L signature</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>an unknown WebP chunk</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a TIFF directory inside its header</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the data is truncated</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the data is damaged: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a PNG chunk type not named</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a PNG chunk longer than PNG allows</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>an unknown GIF block</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not a picture in a format this program reads</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 x %2 pixels is more than the budget of %3 pixels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>more data than a picture within the budget can hold</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the data is damaged</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>empty file</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MagnitudeHistogram</name>
    <message>
        <source>Thinned magnitudes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>How many pixels have each thinned gradient magnitude (log scale). Drag T1 or T2; with the keyboard, Up and Down choose one, the arrow keys move it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Thinned magnitudes, log count</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Thinned magnitudes: press Apply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 above %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>T1 %1, T2 %2: %3 thinned magnitudes below T1, %4 from T1 up to T2, %5 from T2 up</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PictureScreen</name>
    <message>
        <source>T1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Low threshold: gradient magnitudes below it are never edges</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>T2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>High threshold: gradient magnitudes of at least it start an edge</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sigma</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Smoothing width (0 smooths not at all)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Steps</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Number of smoothing passes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the picture again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the edge map at these settings</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PictureToolBar</name>
    <message>
        <source>Open…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open a picture of your own</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Revert</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back to the sample picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the map or stage shown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy the map or stage shown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Smoothed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gradient magnitude</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Thinned magnitude</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edge map</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Which stage of the detector Apply shows</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Stage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Over picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Draw the edges in red over the picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit the picture to the view</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1:1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>One picture pixel a screen pixel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>+</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>−</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>white = magnitude %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no edge map or stage to save; press Apply first</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open a picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pictures (*.png *.jpg *.jpeg *.bmp *.gif *.pgm *.ppm *.pbm *.webp *.tif *.tiff);;All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the map or stage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PNG (*.png);;PGM (*.pgm)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Canny Demo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Picture tools</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Split</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture left of a divider, the edges right of it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hysteresis classes</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PictureViewController</name>
    <message>
        <source>Picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture, %1 × %2 pixels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The edge map at T1 %1, T2 %2, Sigma %3, Steps %4</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PixelReadout</name>
    <message>
        <source>seed (≥ T2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>weak, kept</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>weak, dropped</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pixel under the pointer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>x %1, y %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> · gray %1 · smoothed %2 · gx %3 · gy %4 · magnitude %5 · sector %6 %7 · %8</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no candidate: below T1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no candidate: thinned away</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no candidate: no gradient</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>cannot make the folder %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it has no pixels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be opened: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be saved: the name must end in .png or .pgm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be saved: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>out of memory</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SplitDivider</name>
    <message>
        <source>Divider between picture and edge map</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drag, or use the arrow keys: the picture left, the edge map right</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Titles</name>
    <message>
        <source>First</source>
        <translation>First</translation>
    </message>
    <message>
        <source>Second</source>
        <translation>Second</translation>
    </message>
    <message>
        <source>Third</source>
        <translation>Third</translation>
    </message>
    <message>
        <source>Forth</source>
        <translation>Fourth</translation>
    </message>
    <message>
        <source>Fifth</source>
        <translation>Fifth</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Canny edge detection on still pictures.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A picture to open in the camera tab.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[picture]</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
