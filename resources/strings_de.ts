<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About Canny Demo</source>
        <translation>Über Canny Demo</translation>
    </message>
    <message>
        <source>&lt;h3&gt;%1 %2&lt;/h3&gt;&lt;p&gt;Canny edge detection on still pictures: a sample picture on each of the first four tabs, a camera picture (or a picture file), shown at an eighth of its width and height, on the fifth. Apply shows the edge map, Reset the picture.&lt;/p&gt;&lt;h4&gt;The sliders&lt;/h4&gt;&lt;p&gt;&lt;b&gt;T1&lt;/b&gt;, the low threshold: gradient magnitudes below it are never edges; an edge, once started, is followed through neighbours above T1.&lt;br&gt;&lt;b&gt;T2&lt;/b&gt;, the high threshold: a thinned gradient magnitude of at least T2 starts an edge.&lt;br&gt;&lt;b&gt;Sigma&lt;/b&gt;: the width, in pixels, of the smoothing before the gradients; 0 smooths not at all.&lt;br&gt;&lt;b&gt;Steps&lt;/b&gt;: the number of smoothing passes; more passes come closer to a true Gaussian blur. Used as a whole number.&lt;/p&gt;&lt;p&gt;&lt;b&gt;Suggest T1, T2&lt;/b&gt; sets T2 to the thinned gradient magnitude that the strongest %3 % of the picture&apos;s pixels reach, so that they start edges, and T1 to %4 % of T2. It smooths first: Sigma at least %5 (an unsmoothed photograph gives an edge map of noise), raised step by step while T2 would come above %6 % of its slider&apos;s range, since smoothing lowers every magnitude; Steps at least %7. &lt;b&gt;Defaults&lt;/b&gt; puts the sliders back to their start values. With &lt;b&gt;Live&lt;/b&gt; on, the edge map follows the sliders while they move. The status line gives the &lt;tt&gt;canny&lt;/tt&gt; command that makes the same edge map from the picture file.&lt;/p&gt;&lt;h4&gt;Above the picture&lt;/h4&gt;&lt;p&gt;&lt;b&gt;Open&lt;/b&gt; works on a picture of your own (or drop one on the tab), at its full size; &lt;b&gt;Revert&lt;/b&gt; goes back to the sample. &lt;b&gt;Save&lt;/b&gt; writes the map or stage shown as 8-bit gray PNG or PGM, edge maps as exactly 0 and 255; &lt;b&gt;Copy&lt;/b&gt; puts it on the clipboard. The stage choice shows what the detector makes on its way: the smoothed picture, the gradient magnitude, the magnitudes left by thinning, or the edge map; magnitudes are scaled so that the largest is white, and the value drawn white is shown. &lt;b&gt;Hysteresis classes&lt;/b&gt; colours each thinned magnitude by what hysteresis made of it: yellow seeds (at least T2), blue weak pixels (from T1, below T2) kept because they join a seed, orange weak pixels dropped. &lt;b&gt;Over picture&lt;/b&gt; draws the edges in red on the picture. &lt;b&gt;Split&lt;/b&gt; shows the picture left of a divider and the edges right of it; drag the divider, or move it with the arrow keys.&lt;/p&gt;&lt;h4&gt;How the detector decides&lt;/h4&gt;&lt;p&gt;Below the controls, the histogram counts the magnitudes left by thinning (log scale), coloured as hysteresis takes them, with T1 and T2 as markers: drag one, or click the histogram and choose one with Up and Down and move it with the arrow keys. The line under the picture tells, for the pixel under the pointer, its gray value, smoothed value, gradients gx and gy, magnitude, the sector thinning compares along (the arrows name the two neighbours) and its class.&lt;/p&gt;&lt;h4&gt;Keys&lt;/h4&gt;&lt;table&gt;&lt;tr&gt;&lt;td&gt;Ctrl+O&lt;/td&gt;&lt;td&gt;open a picture&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Ctrl+S&lt;/td&gt;&lt;td&gt;save what is shown&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Ctrl+C&lt;/td&gt;&lt;td&gt;copy what is shown&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Space (held)&lt;/td&gt;&lt;td&gt;the original picture, on the picture&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;+ and &amp;minus;, wheel&lt;/td&gt;&lt;td&gt;zoom in and out; drag to pan&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;1 / 0 or F&lt;/td&gt;&lt;td&gt;pixels at their size / the picture fitted&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Ctrl+1, Ctrl+0, Ctrl++, Ctrl+&amp;minus;&lt;/td&gt;&lt;td&gt;the same from anywhere on the tab&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Mouse held on the picture&lt;/td&gt;&lt;td&gt;the original picture&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Arrows, Page Up/Down&lt;/td&gt;&lt;td&gt;move the focused slider&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Alt+L, Alt+U, Alt+D&lt;/td&gt;&lt;td&gt;Live, Suggest, Defaults&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Return&lt;/td&gt;&lt;td&gt;in the camera window: take the picture&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;F1&lt;/td&gt;&lt;td&gt;this help&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;</source>
        <translation>&lt;h3&gt;%1 %2&lt;/h3&gt;&lt;p&gt;Canny-Kantenerkennung auf Standbildern: auf den ersten vier Reitern je ein Beispielbild, auf dem fünften ein Kamerabild (oder eine Bilddatei), gezeigt in einem Achtel seiner Breite und Höhe. „Anwenden“ zeigt die Kantenkarte, „Zurücksetzen“ wieder das Bild.&lt;/p&gt;&lt;h4&gt;Die Schieberegler&lt;/h4&gt;&lt;p&gt;&lt;b&gt;T1&lt;/b&gt;, die untere Schwelle: Gradientenbeträge darunter sind nie Kanten; eine begonnene Kante wird über Nachbarn oberhalb von T1 weiterverfolgt.&lt;br&gt;&lt;b&gt;T2&lt;/b&gt;, die obere Schwelle: ein ausgedünnter Gradientenbetrag von mindestens T2 beginnt eine Kante.&lt;br&gt;&lt;b&gt;Sigma&lt;/b&gt;: die Breite der Glättung vor den Gradienten, in Pixeln; 0 glättet gar nicht.&lt;br&gt;&lt;b&gt;Durchgänge&lt;/b&gt;: die Zahl der Glättungsdurchgänge; mehr Durchgänge kommen einer echten Gaußschen Unschärfe näher. Wird als ganze Zahl verwendet.&lt;/p&gt;&lt;p&gt;&lt;b&gt;T1, T2 vorschlagen&lt;/b&gt; setzt T2 auf den ausgedünnten Gradientenbetrag, den die stärksten %3 % der Bildpunkte erreichen, sodass sie Kanten beginnen, und T1 auf %4 % von T2. Vorher wird geglättet: Sigma mindestens %5 (ein ungeglättetes Foto ergibt eine Kantenkarte aus Rauschen), Schritt für Schritt erhöht, solange T2 über %6 % des Bereichs seines Schiebereglers läge, denn Glätten senkt jeden Betrag; Durchgänge mindestens %7. &lt;b&gt;Standardwerte&lt;/b&gt; setzt die Schieberegler auf ihre Anfangswerte zurück. Ist &lt;b&gt;Live&lt;/b&gt; eingeschaltet, folgt die Kantenkarte den Schiebereglern, während sie sich bewegen. Die Statuszeile nennt den &lt;tt&gt;canny&lt;/tt&gt;-Befehl, der dieselbe Kantenkarte aus der Bilddatei erzeugt.&lt;/p&gt;&lt;h4&gt;Über dem Bild&lt;/h4&gt;&lt;p&gt;&lt;b&gt;Öffnen&lt;/b&gt; arbeitet mit einem eigenen Bild (oder ziehen Sie eines auf den Reiter), in voller Größe; &lt;b&gt;Zurück&lt;/b&gt; kehrt zum Beispielbild zurück. &lt;b&gt;Speichern&lt;/b&gt; schreibt die gezeigte Karte oder Stufe als 8-Bit-Graustufen-PNG oder -PGM, Kantenkarten mit genau 0 und 255; &lt;b&gt;Kopieren&lt;/b&gt; legt sie in die Zwischenablage. Die Stufenauswahl zeigt, was der Detektor unterwegs erzeugt: das geglättete Bild, den Gradientenbetrag, die nach dem Ausdünnen verbliebenen Beträge oder die Kantenkarte; Beträge werden so skaliert, dass der größte weiß ist, und der weiß gezeichnete Wert wird angezeigt. &lt;b&gt;Hysterese-Klassen&lt;/b&gt; färbt jeden ausgedünnten Betrag danach, was die Hysterese aus ihm machte: gelb die Startpunkte (mindestens T2), blau schwache Pixel (ab T1, unter T2), die bleiben, weil sie an einen Startpunkt anschließen, orange verworfene schwache Pixel. &lt;b&gt;Über dem Bild&lt;/b&gt; zeichnet die Kanten rot auf das Bild. &lt;b&gt;Geteilt&lt;/b&gt; zeigt links eines Teilers das Bild und rechts davon die Kanten; ziehen Sie den Teiler oder verschieben Sie ihn mit den Pfeiltasten.&lt;/p&gt;&lt;h4&gt;Wie der Detektor entscheidet&lt;/h4&gt;&lt;p&gt;Unter den Bedienelementen zählt das Histogramm die nach dem Ausdünnen verbliebenen Beträge (logarithmisch), gefärbt, wie die Hysterese sie nimmt, mit T1 und T2 als Markierungen: ziehen Sie eine, oder klicken Sie ins Histogramm, wählen Sie eine mit Auf und Ab und verschieben Sie sie mit den Pfeiltasten. Die Zeile unter dem Bild nennt für das Pixel unter dem Zeiger seinen Grauwert, den geglätteten Wert, die Gradienten gx und gy, den Betrag, den Sektor, entlang dessen das Ausdünnen vergleicht (die Pfeile nennen die beiden Nachbarn), und seine Klasse.&lt;/p&gt;&lt;h4&gt;Tasten&lt;/h4&gt;&lt;table&gt;&lt;tr&gt;&lt;td&gt;Strg+O&lt;/td&gt;&lt;td&gt;ein Bild öffnen&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Strg+S&lt;/td&gt;&lt;td&gt;das Gezeigte speichern&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Strg+C&lt;/td&gt;&lt;td&gt;das Gezeigte kopieren&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Leertaste (gehalten)&lt;/td&gt;&lt;td&gt;das Originalbild, auf dem Bild&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;+ und &amp;minus;, Mausrad&lt;/td&gt;&lt;td&gt;vergrößern und verkleinern; ziehen zum Verschieben&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;1 / 0 oder F&lt;/td&gt;&lt;td&gt;Pixel in Originalgröße / Bild eingepasst&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Strg+1, Strg+0, Strg++, Strg+&amp;minus;&lt;/td&gt;&lt;td&gt;dasselbe von überall auf dem Reiter&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Maustaste auf dem Bild gehalten&lt;/td&gt;&lt;td&gt;das Originalbild&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Pfeiltasten, Bild auf/ab&lt;/td&gt;&lt;td&gt;den Schieberegler mit dem Fokus bewegen&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Alt+L, Alt+V, Alt+D&lt;/td&gt;&lt;td&gt;Live, Vorschlagen, Standardwerte&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Eingabetaste&lt;/td&gt;&lt;td&gt;im Kamerafenster: das Bild aufnehmen&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;F1&lt;/td&gt;&lt;td&gt;diese Hilfe&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;</translation>
    </message>
</context>
<context>
    <name>AppDelegate</name>
    <message>
        <source>About Canny Demo, its sliders and keys (F1)</source>
        <translation>Über Canny Demo, seine Schieberegler und Tasten (F1)</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>%1 cannot be opened: the window is not built</source>
        <translation>%1 kann nicht geöffnet werden: Das Fenster ist noch nicht aufgebaut</translation>
    </message>
</context>
<context>
    <name>CameraDialog</name>
    <message>
        <source>Camera</source>
        <translation>Kamera</translation>
    </message>
    <message>
        <source>The camera to take the picture with</source>
        <translation>Die Kamera, mit der das Bild aufgenommen wird</translation>
    </message>
    <message>
        <source>Show &amp;edges at the tab&apos;s settings</source>
        <translation>&amp;Kanten mit den Werten des Reiters zeigen</translation>
    </message>
    <message>
        <source>The viewfinder shows the edge map of each frame it keeps up with</source>
        <translation>Der Sucher zeigt die Kantenkarte jedes Einzelbilds, mit dem er Schritt hält</translation>
    </message>
    <message>
        <source>No camera was found. You can open a picture file instead; it is shown at an eighth of its width and height.</source>
        <translation>Keine Kamera gefunden. Sie können stattdessen eine Bilddatei öffnen; sie wird in einem Achtel ihrer Breite und Höhe gezeigt.</translation>
    </message>
    <message>
        <source>Open Picture File…</source>
        <translation>Bilddatei öffnen …</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Take</source>
        <translation>Aufnehmen</translation>
    </message>
    <message>
        <source>The camera “%1” is not connected any more.</source>
        <translation>Die Kamera „%1“ ist nicht mehr angeschlossen.</translation>
    </message>
    <message>
        <source>Camera error: %1</source>
        <translation>Kamerafehler: %1</translation>
    </message>
    <message>
        <source>The picture cannot be taken: %1.</source>
        <translation>Das Bild kann nicht aufgenommen werden: %1.</translation>
    </message>
    <message>
        <source>The picture could not be taken: %1</source>
        <translation>Das Bild konnte nicht aufgenommen werden: %1</translation>
    </message>
    <message>
        <source>The camera did not deliver a picture. Please try again.</source>
        <translation>Die Kamera hat kein Bild geliefert. Bitte versuchen Sie es noch einmal.</translation>
    </message>
    <message>
        <source>Pictures (%1)</source>
        <translation>Bilder (%1)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Open Picture</source>
        <translation>Bild öffnen</translation>
    </message>
    <message>
        <source>Cannot open the picture “%1”: %2.</source>
        <translation>Das Bild „%1“ kann nicht geöffnet werden: %2.</translation>
    </message>
    <message>
        <source>The camera “%1” shows no picture. Choose another camera or open a picture file instead.</source>
        <translation>Die Kamera „%1“ zeigt kein Bild. Wählen Sie eine andere Kamera, oder öffnen Sie stattdessen eine Bilddatei.</translation>
    </message>
</context>
<context>
    <name>CameraHint</name>
    <message>
        <source>No picture yet. Take one with the camera or open a picture file; it is shown at an eighth of its width and height.</source>
        <translation>Noch kein Bild. Nehmen Sie eines mit der Kamera auf oder öffnen Sie eine Bilddatei; es wird in einem Achtel seiner Breite und Höhe gezeigt.</translation>
    </message>
    <message>
        <source>&amp;Take Picture…</source>
        <translation>Bild &amp;aufnehmen …</translation>
    </message>
    <message>
        <source>&amp;Open Picture File…</source>
        <translation>Bilddatei ö&amp;ffnen …</translation>
    </message>
</context>
<context>
    <name>CameraRunner</name>
    <message>
        <source>No camera is running.</source>
        <translation>Es läuft keine Kamera.</translation>
    </message>
</context>
<context>
    <name>ClassLegend</name>
    <message>
        <source>%1 seed %2 kept %3 dropped</source>
        <translation>%1 Start %2 bleibt %3 fällt weg</translation>
    </message>
    <message>
        <source>Seeds, at least T2: %1
Weak, from T1 below T2, kept because they join a seed: %2
Weak, dropped: %3</source>
        <translation>Startpunkte, mindestens T2: %1
Schwach, ab T1 unter T2, behalten, weil sie an einen Startpunkt anschließen: %2
Schwach, verworfen: %3</translation>
    </message>
</context>
<context>
    <name>DetectionPanel</name>
    <message>
        <source>&amp;Live</source>
        <translation>&amp;Live</translation>
    </message>
    <message>
        <source>S&amp;uggest T1, T2</source>
        <translation>T1, T2 &amp;vorschlagen</translation>
    </message>
    <message>
        <source>&amp;Defaults</source>
        <translation>Stan&amp;dardwerte</translation>
    </message>
    <message>
        <source>Cop&amp;y Command</source>
        <translation>Befehl k&amp;opieren</translation>
    </message>
    <message>
        <source>This picture has no gradients to suggest thresholds from.</source>
        <translation>Dieses Bild hat keine Gradienten, aus denen sich Schwellen vorschlagen ließen.</translation>
    </message>
    <message>
        <source>Show the edge map while a slider moves</source>
        <translation>Die Kantenkarte zeigen, während sich ein Schieberegler bewegt</translation>
    </message>
    <message>
        <source>Put the sliders back to their start values</source>
        <translation>Die Schieberegler auf ihre Anfangswerte zurücksetzen</translation>
    </message>
    <message>
        <source>Detecting</source>
        <translation>Erkennung läuft</translation>
    </message>
    <message>
        <source>Equivalent canny command</source>
        <translation>Gleichwertiger canny-Befehl</translation>
    </message>
    <message>
        <source>The command-line tool&apos;s call that gives the same edge map</source>
        <translation>Der Aufruf des Kommandozeilenwerkzeugs, der dieselbe Kantenkarte ergibt</translation>
    </message>
    <message>
        <source>No edge map: there was not enough memory for this picture.</source>
        <translation>Keine Kantenkarte: Für dieses Bild war nicht genug Speicher frei.</translation>
    </message>
    <message>
        <source>%1 · detected in %2 ms · %3 edge pixels</source>
        <translation>%1 · erkannt in %2 ms · %3 Kantenpixel</translation>
    </message>
    <message>
        <source>No edges at these settings: no gradient reaches T2. Lower T2, or smooth less (Sigma, Steps).</source>
        <translation>Keine Kanten mit diesen Werten: Kein Gradient erreicht T2. Senken Sie T2 oder glätten Sie weniger (Sigma, Durchgänge).</translation>
    </message>
    <message>
        <source>Every pixel is an edge at these settings: with T2 at 0 every pixel starts an edge. Raise T2.</source>
        <translation>Mit diesen Werten ist jedes Pixel eine Kante: Bei T2 gleich 0 beginnt jedes Pixel eine Kante. Erhöhen Sie T2.</translation>
    </message>
    <message>
        <source>%1 × %2 pixels</source>
        <translation>%1 × %2 Pixel</translation>
    </message>
    <message>
        <source>Set T1 and T2 from this picture&apos;s gradients, smoothing more where they need it</source>
        <translation>T1 und T2 aus den Gradienten dieses Bildes bestimmen, wo nötig stärker geglättet</translation>
    </message>
    <message>
        <source>The classes are worked out for pictures of up to %1 megapixels only.</source>
        <translation>Die Klassen werden nur für Bilder bis %1 Megapixel ermittelt.</translation>
    </message>
</context>
<context>
    <name>FifthViewController</name>
    <message>
        <source>Cannot write the camera picture into %1: %2.
</source>
        <translation>Das Kamerabild kann nicht in %1 geschrieben werden: %2.
</translation>
    </message>
    <message>
        <source>an eighth of %1 × %2</source>
        <translation>ein Achtel von %1 × %2</translation>
    </message>
</context>
<context>
    <name>ImageView</name>
    <message>
        <source>Original</source>
        <translation>Original</translation>
    </message>
</context>
<context>
    <name>ImagingText</name>
    <message>
        <source>not enough memory to detect edges</source>
        <translation>nicht genug Speicher, um Kanten zu finden</translation>
    </message>
    <message>
        <source>cannot open: %1</source>
        <translation>nicht zu öffnen: %1</translation>
    </message>
    <message>
        <source>is a folder</source>
        <translation>ist ein Ordner</translation>
    </message>
    <message>
        <source>byte 0x%1</source>
        <translation>Byte 0x%1</translation>
    </message>
    <message>
        <source>row %1, column %2</source>
        <translation>Zeile %1, Spalte %2</translation>
    </message>
    <message>
        <source>the picture&apos;s data is damaged at %1: more blanks and comments than its samples can need</source>
        <translation>die Bilddaten sind bei %1 beschädigt: mehr Leerraum und Kommentare, als die Werte brauchen können</translation>
    </message>
    <message>
        <source>the picture&apos;s data is short, truncated at %1</source>
        <translation>die Bilddaten sind zu kurz, abgeschnitten bei %1</translation>
    </message>
    <message>
        <source>the picture&apos;s data is damaged at %1: %2 where a number should be</source>
        <translation>die Bilddaten sind bei %1 beschädigt: %2, wo eine Zahl stehen sollte</translation>
    </message>
    <message>
        <source>the picture&apos;s data is damaged at %1: %2 where a bit, 0 or 1, should be</source>
        <translation>die Bilddaten sind bei %1 beschädigt: %2, wo ein Bit, 0 oder 1, stehen sollte</translation>
    </message>
    <message>
        <source>a sample above the maxval %1 at %2</source>
        <translation>ein Wert über dem Höchstwert (maxval) %1 bei %2</translation>
    </message>
    <message>
        <source>not a Netpbm picture</source>
        <translation>kein Netpbm-Bild</translation>
    </message>
    <message>
        <source>broken Netpbm header (width, height and maxval 1 to %1 expected)</source>
        <translation>defekter Netpbm-Kopf (Breite, Höhe und maxval 1 bis %1 erwartet)</translation>
    </message>
    <message>
        <source>the picture has no pixels</source>
        <translation>das Bild hat keine Pixel</translation>
    </message>
    <message>
        <source>the picture&apos;s data is short, truncated: the file holds %1 of its %2 rows</source>
        <translation>die Bilddaten sind zu kurz, abgeschnitten: die Datei enthält %1 der %2 Zeilen</translation>
    </message>
    <message>
        <source>out of memory</source>
        <translation>nicht genug Speicher</translation>
    </message>
    <message>
        <source>the header declares %1 x %2 pixels</source>
        <translation>der Kopf gibt %1 × %2 Pixel an</translation>
    </message>
    <message>
        <source>no IHDR chunk</source>
        <translation>kein IHDR-Block</translation>
    </message>
    <message>
        <source>an unknown BMP header size</source>
        <translation>eine unbekannte BMP-Kopfgröße</translation>
    </message>
    <message>
        <source>a BMP depth or compression that is not known</source>
        <translation>eine unbekannte BMP-Farbtiefe oder -Kompression</translation>
    </message>
    <message>
        <source>more than 256 BMP palette colours</source>
        <translation>mehr als 256 BMP-Palettenfarben</translation>
    </message>
    <message>
        <source>BMP pixel data that overlaps its header</source>
        <translation>BMP-Pixeldaten, die den Kopf überlappen</translation>
    </message>
    <message>
        <source>JPEG data between its segments</source>
        <translation>JPEG-Daten zwischen den Segmenten</translation>
    </message>
    <message>
        <source>a JPEG marker out of place</source>
        <translation>eine JPEG-Marke an falscher Stelle</translation>
    </message>
    <message>
        <source>a JPEG segment shorter than its length</source>
        <translation>ein JPEG-Segment, kürzer als seine Längenangabe</translation>
    </message>
    <message>
        <source>a JPEG frame header too short</source>
        <translation>ein zu kurzer JPEG-Frame-Kopf</translation>
    </message>
    <message>
        <source>a JPEG scan before its frame header</source>
        <translation>ein JPEG-Scan vor seinem Frame-Kopf</translation>
    </message>
    <message>
        <source>no VP8 start code</source>
        <translation>kein VP8-Startcode</translation>
    </message>
    <message>
        <source>no VP8L signature</source>
        <translation>keine VP8L-Signatur</translation>
    </message>
    <message>
        <source>an unknown WebP chunk</source>
        <translation>ein unbekannter WebP-Block</translation>
    </message>
    <message>
        <source>a TIFF directory inside its header</source>
        <translation>ein TIFF-Verzeichnis innerhalb des Kopfs</translation>
    </message>
    <message>
        <source>the data is truncated</source>
        <translation>die Daten sind abgeschnitten</translation>
    </message>
    <message>
        <source>the data is damaged: %1</source>
        <translation>die Daten sind beschädigt: %1</translation>
    </message>
    <message>
        <source>a PNG chunk type not named</source>
        <translation>ein PNG-Blocktyp ohne Namen</translation>
    </message>
    <message>
        <source>a PNG chunk longer than PNG allows</source>
        <translation>ein PNG-Block, länger als PNG erlaubt</translation>
    </message>
    <message>
        <source>an unknown GIF block</source>
        <translation>ein unbekannter GIF-Block</translation>
    </message>
    <message>
        <source>not a picture in a format this program reads</source>
        <translation>kein Bild in einem Format, das dieses Programm liest</translation>
    </message>
    <message>
        <source>%1 x %2 pixels is more than the budget of %3 pixels</source>
        <translation>%1 × %2 Pixel sind mehr als die erlaubten %3 Pixel</translation>
    </message>
    <message>
        <source>more data than a picture within the budget can hold</source>
        <translation>mehr Daten, als ein Bild im erlaubten Umfang enthalten kann</translation>
    </message>
    <message>
        <source>the data is damaged</source>
        <translation>die Daten sind beschädigt</translation>
    </message>
    <message>
        <source>empty file</source>
        <translation>leere Datei</translation>
    </message>
</context>
<context>
    <name>MagnitudeHistogram</name>
    <message>
        <source>Thinned magnitudes</source>
        <translation>Ausgedünnte Beträge</translation>
    </message>
    <message>
        <source>How many pixels have each thinned gradient magnitude (log scale). Drag T1 or T2; with the keyboard, Up and Down choose one, the arrow keys move it.</source>
        <translation>Wie viele Pixel jeden ausgedünnten Gradientenbetrag haben (logarithmisch). T1 oder T2 ziehen; mit der Tastatur wählen Auf und Ab einen, die Pfeiltasten verschieben ihn.</translation>
    </message>
    <message>
        <source>Thinned magnitudes, log count</source>
        <translation>Ausgedünnte Beträge, Anzahl logarithmisch</translation>
    </message>
    <message>
        <source>Thinned magnitudes: press Apply</source>
        <translation>Ausgedünnte Beträge: Anwenden drücken</translation>
    </message>
    <message>
        <source>%1 above %2</source>
        <translation>%1 über %2</translation>
    </message>
    <message>
        <source>T1 %1, T2 %2: %3 thinned magnitudes below T1, %4 from T1 up to T2, %5 from T2 up</source>
        <translation>T1 %1, T2 %2: %3 ausgedünnte Beträge unter T1, %4 von T1 bis T2, %5 ab T2</translation>
    </message>
</context>
<context>
    <name>PictureScreen</name>
    <message>
        <source>T1</source>
        <translation>T1</translation>
    </message>
    <message>
        <source>Low threshold: gradient magnitudes below it are never edges</source>
        <translation>Untere Schwelle: Gradientenbeträge darunter sind nie Kanten</translation>
    </message>
    <message>
        <source>T2</source>
        <translation>T2</translation>
    </message>
    <message>
        <source>High threshold: gradient magnitudes of at least it start an edge</source>
        <translation>Obere Schwelle: Gradientenbeträge ab diesem Wert beginnen eine Kante</translation>
    </message>
    <message>
        <source>Sigma</source>
        <translation>Sigma</translation>
    </message>
    <message>
        <source>Smoothing width (0 smooths not at all)</source>
        <translation>Glättungsbreite (0 glättet gar nicht)</translation>
    </message>
    <message>
        <source>Steps</source>
        <translation>Durchgänge</translation>
    </message>
    <message>
        <source>Number of smoothing passes</source>
        <translation>Anzahl der Glättungsdurchgänge</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>Show the picture again</source>
        <translation>Wieder das Bild zeigen</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Anwenden</translation>
    </message>
    <message>
        <source>Show the edge map at these settings</source>
        <translation>Die Kantenkarte mit diesen Werten zeigen</translation>
    </message>
</context>
<context>
    <name>PictureToolBar</name>
    <message>
        <source>Open…</source>
        <translation>Öffnen …</translation>
    </message>
    <message>
        <source>Open a picture of your own</source>
        <translation>Ein eigenes Bild öffnen</translation>
    </message>
    <message>
        <source>Revert</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Back to the sample picture</source>
        <translation>Zurück zum Beispielbild</translation>
    </message>
    <message>
        <source>Save…</source>
        <translation>Speichern …</translation>
    </message>
    <message>
        <source>Save the map or stage shown</source>
        <translation>Die gezeigte Karte oder Stufe speichern</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Copy the map or stage shown</source>
        <translation>Die gezeigte Karte oder Stufe kopieren</translation>
    </message>
    <message>
        <source>Smoothed</source>
        <translation>Geglättet</translation>
    </message>
    <message>
        <source>Gradient magnitude</source>
        <translation>Gradientenbetrag</translation>
    </message>
    <message>
        <source>Thinned magnitude</source>
        <translation>Ausgedünnter Betrag</translation>
    </message>
    <message>
        <source>Edge map</source>
        <translation>Kantenkarte</translation>
    </message>
    <message>
        <source>Which stage of the detector Apply shows</source>
        <translation>Welche Stufe des Detektors „Anwenden“ zeigt</translation>
    </message>
    <message>
        <source>&amp;Stage</source>
        <translation>&amp;Stufe</translation>
    </message>
    <message>
        <source>Over picture</source>
        <translation>Über dem Bild</translation>
    </message>
    <message>
        <source>Draw the edges in red over the picture</source>
        <translation>Die Kanten rot über das Bild zeichnen</translation>
    </message>
    <message>
        <source>Fit</source>
        <translation>Einpassen</translation>
    </message>
    <message>
        <source>Fit the picture to the view</source>
        <translation>Das Bild in die Ansicht einpassen</translation>
    </message>
    <message>
        <source>1:1</source>
        <translation>1:1</translation>
    </message>
    <message>
        <source>One picture pixel a screen pixel</source>
        <translation>Ein Bildpixel je Bildschirmpixel</translation>
    </message>
    <message>
        <source>+</source>
        <translation>+</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>−</source>
        <translation>−</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>%1%</source>
        <translation>%1 %</translation>
    </message>
    <message>
        <source>white = magnitude %1</source>
        <translation>weiß = Betrag %1</translation>
    </message>
    <message>
        <source>There is no edge map or stage to save; press Apply first</source>
        <translation>Es gibt keine Kantenkarte oder Stufe zum Speichern; drücken Sie zuerst „Anwenden“</translation>
    </message>
    <message>
        <source>Open a picture</source>
        <translation>Ein Bild öffnen</translation>
    </message>
    <message>
        <source>Pictures (*.png *.jpg *.jpeg *.bmp *.gif *.pgm *.ppm *.pbm *.webp *.tif *.tiff);;All files (*)</source>
        <translation>Bilder (*.png *.jpg *.jpeg *.bmp *.gif *.pgm *.ppm *.pbm *.webp *.tif *.tiff);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Save the map or stage</source>
        <translation>Karte oder Stufe speichern</translation>
    </message>
    <message>
        <source>PNG (*.png);;PGM (*.pgm)</source>
        <translation>PNG (*.png);;PGM (*.pgm)</translation>
    </message>
    <message>
        <source>Canny Demo</source>
        <translation>Canny Demo</translation>
    </message>
    <message>
        <source>Picture tools</source>
        <translation>Bildwerkzeuge</translation>
    </message>
    <message>
        <source>Split</source>
        <translation>Geteilt</translation>
    </message>
    <message>
        <source>The picture left of a divider, the edges right of it</source>
        <translation>Links eines Teilers das Bild, rechts davon die Kanten</translation>
    </message>
    <message>
        <source>Hysteresis classes</source>
        <translation>Hysterese-Klassen</translation>
    </message>
</context>
<context>
    <name>PictureViewController</name>
    <message>
        <source>Picture</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>No picture</source>
        <translation>Kein Bild</translation>
    </message>
    <message>
        <source>The picture, %1 × %2 pixels</source>
        <translation>Das Bild, %1 × %2 Pixel</translation>
    </message>
    <message>
        <source>The edge map at T1 %1, T2 %2, Sigma %3, Steps %4</source>
        <translation>Die Kantenkarte bei T1 %1, T2 %2, Sigma %3, Durchgänge %4</translation>
    </message>
</context>
<context>
    <name>PixelReadout</name>
    <message>
        <source>seed (≥ T2)</source>
        <translation>Startpunkt (≥ T2)</translation>
    </message>
    <message>
        <source>weak, kept</source>
        <translation>schwach, behalten</translation>
    </message>
    <message>
        <source>weak, dropped</source>
        <translation>schwach, verworfen</translation>
    </message>
    <message>
        <source>Pixel under the pointer</source>
        <translation>Pixel unter dem Zeiger</translation>
    </message>
    <message>
        <source>x %1, y %2</source>
        <translation>x %1, y %2</translation>
    </message>
    <message>
        <source> · gray %1 · smoothed %2 · gx %3 · gy %4 · magnitude %5 · sector %6 %7 · %8</source>
        <translation> · Grau %1 · geglättet %2 · gx %3 · gy %4 · Betrag %5 · Sektor %6 %7 · %8</translation>
    </message>
    <message>
        <source>no candidate: below T1</source>
        <translation>kein Kandidat: unter T1</translation>
    </message>
    <message>
        <source>no candidate: thinned away</source>
        <translation>kein Kandidat: ausgedünnt</translation>
    </message>
    <message>
        <source>no candidate: no gradient</source>
        <translation>kein Kandidat: kein Gradient</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>cannot make the folder %1</source>
        <translation>der Ordner %1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>it has no pixels</source>
        <translation>es hat keine Pixel</translation>
    </message>
    <message>
        <source>%1 cannot be opened: %2</source>
        <translation>%1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>%1 cannot be saved: the name must end in .png or .pgm</source>
        <translation>%1 kann nicht gespeichert werden: Der Name muss auf .png oder .pgm enden</translation>
    </message>
    <message>
        <source>%1 cannot be saved: %2</source>
        <translation>%1 kann nicht gespeichert werden: %2</translation>
    </message>
    <message>
        <source>out of memory</source>
        <translation>nicht genug Speicher</translation>
    </message>
</context>
<context>
    <name>SplitDivider</name>
    <message>
        <source>Divider between picture and edge map</source>
        <translation>Teiler zwischen Bild und Kantenkarte</translation>
    </message>
    <message>
        <source>Drag, or use the arrow keys: the picture left, the edge map right</source>
        <translation>Ziehen oder Pfeiltasten benutzen: links das Bild, rechts die Kantenkarte</translation>
    </message>
</context>
<context>
    <name>Titles</name>
    <message>
        <source>First</source>
        <translation>Erste</translation>
    </message>
    <message>
        <source>Second</source>
        <translation>Zweite</translation>
    </message>
    <message>
        <source>Third</source>
        <translation>Dritte</translation>
    </message>
    <message>
        <source>Forth</source>
        <translation>Vierte</translation>
    </message>
    <message>
        <source>Fifth</source>
        <translation>Fünfte</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Canny edge detection on still pictures.</source>
        <translation>Canny-Kantenerkennung auf Standbildern.</translation>
    </message>
    <message>
        <source>A picture to open in the camera tab.</source>
        <translation>Ein Bild, das im Kamerareiter geöffnet wird.</translation>
    </message>
    <message>
        <source>[picture]</source>
        <translation>[Bild]</translation>
    </message>
</context>
</TS>
