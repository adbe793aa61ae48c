<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>AccessibleNames</name>
    <message>
        <source>Folders</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Pictures</source>
        <translation>Bilder</translation>
    </message>
    <message>
        <source>Thumbnails</source>
        <translation>Miniaturansichten</translation>
    </message>
    <message>
        <source>Thumbnails scroll bar</source>
        <translation>Bildlaufleiste der Miniaturansichten</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Werkzeugleiste</translation>
    </message>
    <message>
        <source>Picture types</source>
        <translation>Bildtypen</translation>
    </message>
    <message>
        <source>Reading thumbnails</source>
        <translation>Miniaturansichten werden gelesen</translation>
    </message>
    <message>
        <source>Splitter between folders and pictures</source>
        <translation>Trennleiste zwischen Ordnern und Bildern</translation>
    </message>
    <message>
        <source>Drag with the mouse to resize the folder tree</source>
        <translation>Mit der Maus ziehen, um die Breite des Ordnerbaums zu ändern</translation>
    </message>
    <message>
        <source>Splitter between pictures and preview</source>
        <translation>Trennleiste zwischen Bildern und Vorschau</translation>
    </message>
    <message>
        <source>Drag with the mouse to resize the preview</source>
        <translation>Mit der Maus ziehen, um die Breite der Vorschau zu ändern</translation>
    </message>
    <message>
        <source>Menu bar</source>
        <translation>Menüleiste</translation>
    </message>
    <message>
        <source>Vertical scroll bar</source>
        <translation>Senkrechte Bildlaufleiste</translation>
    </message>
    <message>
        <source>Horizontal scroll bar</source>
        <translation>Waagrechte Bildlaufleiste</translation>
    </message>
    <message>
        <source>No picture</source>
        <translation>Kein Bild</translation>
    </message>
    <message>
        <source>Preview of %1</source>
        <translation>Vorschau von %1</translation>
    </message>
</context>
<context>
    <name>ThumbStrip</name>
    <message>
        <source>%1, cannot be read</source>
        <translation>%1, kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>Thumbnails</source>
        <translation>Miniaturansichten</translation>
    </message>
</context>
<context>
    <name>pavix::about</name>
    <message>
        <source>The desktop could not open %1.</source>
        <translation>Die Arbeitsumgebung konnte %1 nicht öffnen.</translation>
    </message>
</context>
<context>
    <name>pavix::about::AboutBox</name>
    <message>
        <source>Web :</source>
        <translation>Web:</translation>
    </message>
    <message>
        <source>Mail :</source>
        <translation>E-Mail:</translation>
    </message>
    <message>
        <source>Previewer for tiled images</source>
        <translation>Vorschau für gekachelte Bilder</translation>
    </message>
    <message>
        <source>Pavix 3.0: see a picture repeated edge to edge, with your text over it.</source>
        <translation>Pavix 3.0: Sehen Sie ein Bild Kante an Kante wiederholt, mit Ihrem Text darüber.</translation>
    </message>
    <message>
        <source>About</source>
        <translation type="unfinished">Über Pavix</translation>
    </message>
    <message>
        <source>Link, opens with Enter</source>
        <translation>Link, öffnet sich mit der Eingabetaste</translation>
    </message>
</context>
<context>
    <name>pavix::browser</name>
    <message>
        <source>Path not found</source>
        <translation>Pfad nicht gefunden</translation>
    </message>
    <message>
        <source>Images : </source>
        <translation>Bilder: </translation>
    </message>
    <message>
        <source>Images :</source>
        <translation>Bilder:</translation>
    </message>
    <message>
        <source>Click an item to preview it or Double click it to show the tiled image</source>
        <translation>Klicken Sie auf einen Eintrag, um ihn in der Vorschau zu sehen, oder doppelklicken Sie, um das Bild gekachelt anzuzeigen</translation>
    </message>
    <message>
        <source>This directory does not contain supported images.</source>
        <translation>Dieser Ordner enthält keine unterstützten Bilder.</translation>
    </message>
</context>
<context>
    <name>pavix::catalogue</name>
    <message>
        <source>Searching for %1 files.</source>
        <translation>Suche nach %1 Dateien.</translation>
    </message>
</context>
<context>
    <name>pavix::foldertree</name>
    <message>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
</context>
<context>
    <name>pavix::listview</name>
    <message>
        <source>Thumbnails          F4</source>
        <translation>Miniaturansichten     F4</translation>
    </message>
    <message>
        <source>Large Icons         F6</source>
        <translation>Große Symbole         F6</translation>
    </message>
    <message>
        <source>Small Icons          F7</source>
        <translation>Kleine Symbole        F7</translation>
    </message>
    <message>
        <source>List                      F8</source>
        <translation>Liste                 F8</translation>
    </message>
    <message>
        <source>Details                 F9</source>
        <translation>Details               F9</translation>
    </message>
    <message>
        <source>Thumbnails</source>
        <translation>Miniaturansichten</translation>
    </message>
    <message>
        <source>Large icons</source>
        <translation>Große Symbole</translation>
    </message>
    <message>
        <source>Small icons</source>
        <translation>Kleine Symbole</translation>
    </message>
    <message>
        <source>List</source>
        <translation>Liste</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>Details</translation>
    </message>
</context>
<context>
    <name>pavix::options::OptionsDialog</name>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source> Check the appropriate file types   to enable them for browsing.</source>
        <translation> Kreuzen Sie die Dateitypen an, die Pavix zeigen soll.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>At least one type must be checked.</source>
        <translation>Mindestens ein Dateityp muss angekreuzt sein.</translation>
    </message>
    <message>
        <source>Check at least one</source>
        <translation>Mindestens einen ankreuzen</translation>
    </message>
</context>
<context>
    <name>pavix::platform</name>
    <message>
        <source>The folder &quot;%1&quot; cannot be created: it is a link to &quot;%2&quot;, which cannot be reached (%3)</source>
        <translation>Der Ordner „%1“ kann nicht angelegt werden: Er ist eine Verknüpfung auf „%2“, das nicht erreichbar ist (%3)</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; cannot be created: %2</source>
        <translation>Der Ordner „%1“ kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; cannot be created: a file of that name is in the way</source>
        <translation>Der Ordner „%1“ kann nicht angelegt werden: Es gibt bereits eine Datei dieses Namens</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; cannot be used: it belongs to another user</source>
        <translation>Der Ordner „%1“ kann nicht verwendet werden: Er gehört einem anderen Benutzer</translation>
    </message>
    <message>
        <source>The folder %1 cannot be read: %2.</source>
        <translation>Der Ordner %1 kann nicht gelesen werden: %2.</translation>
    </message>
    <message>
        <source>Device I/O Error while reading the length of &quot;%1&quot;: it took longer than %2 seconds</source>
        <translation>Ein-/Ausgabefehler beim Ermitteln der Länge von „%1“: Es dauerte länger als %2 Sekunden</translation>
    </message>
    <message>
        <source>File not found</source>
        <translation>Datei nicht gefunden</translation>
    </message>
    <message>
        <source>Not a file: %1</source>
        <translation>Keine Datei: %1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be read as a picture: %2</source>
        <translation>„%1“ kann nicht als Bild gelesen werden: %2</translation>
    </message>
    <message>
        <source>Device I/O Error while reading &quot;%1&quot;: %2</source>
        <translation>Ein-/Ausgabefehler beim Lesen von „%1“: %2</translation>
    </message>
    <message>
        <source>%1 x %2 pixels</source>
        <translation>%1 x %2 Pixel</translation>
    </message>
    <message>
        <source>%1 %2, a picture without area</source>
        <translation>%1 %2, ein Bild ohne Fläche</translation>
    </message>
    <message>
        <source>%1 %2, more than %3 megapixels</source>
        <translation>%1 %2, mehr als %3 Megapixel</translation>
    </message>
    <message>
        <source>a part of it claims more data than the file holds</source>
        <translation>ein Teil davon gibt mehr Daten an, als die Datei enthält</translation>
    </message>
    <message>
        <source>the file does not exist</source>
        <translation>die Datei existiert nicht</translation>
    </message>
    <message>
        <source>it is not a file</source>
        <translation>es ist keine Datei</translation>
    </message>
    <message>
        <source>the file is empty</source>
        <translation>die Datei ist leer</translation>
    </message>
    <message>
        <source>its header declares</source>
        <translation>der Dateikopf nennt</translation>
    </message>
    <message>
        <source>a strip or tile of it needs %1 MB to decode, more than %2 MB</source>
        <translation>ein Streifen oder eine Kachel darin braucht zum Decodieren %1 MB, mehr als %2 MB</translation>
    </message>
    <message>
        <source>its progressive coding needs %1 MB to decode, more than %2 MB</source>
        <translation>die progressive Codierung braucht zum Decodieren %1 MB, mehr als %2 MB</translation>
    </message>
    <message>
        <source>its picture data is damaged or of an unsupported kind</source>
        <translation>die Bilddaten sind beschädigt oder von einer nicht unterstützten Art</translation>
    </message>
    <message>
        <source>its content is not a picture format Pavix reads</source>
        <translation>der Inhalt ist in keinem Bildformat, das Pavix lesen kann</translation>
    </message>
    <message>
        <source>it holds no picture</source>
        <translation>sie enthält kein Bild</translation>
    </message>
    <message>
        <source>it decodes to</source>
        <translation>decodiert ergibt sie</translation>
    </message>
    <message>
        <source>reading it took longer than %1 seconds</source>
        <translation>das Lesen dauerte länger als %1 Sekunden</translation>
    </message>
    <message>
        <source>A thumbnail cell of %1 has no area</source>
        <translation>Eine Zelle der Miniaturansichten von %1 hat keine Fläche</translation>
    </message>
    <message>
        <source>There is no picture to write to &quot;%1&quot;.</source>
        <translation>Es gibt kein Bild, das in „%1“ geschrieben werden könnte.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be written: %2</source>
        <translation>„%1“ kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>there is no session bus</source>
        <translation>es gibt keinen Sitzungsbus</translation>
    </message>
    <message>
        <source>no Plasma shell is running on the session bus</source>
        <translation>auf dem Sitzungsbus läuft keine Plasma-Shell</translation>
    </message>
    <message>
        <source>its folder %1 cannot be written to</source>
        <translation>in ihren Ordner %1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>its folder %1 cannot be made</source>
        <translation>ihr Ordner %1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>the file is read-only</source>
        <translation>die Datei ist schreibgeschützt</translation>
    </message>
    <message>
        <source>the disk refused the write (it may be full)</source>
        <translation>der Datenträger hat das Schreiben verweigert (vielleicht ist er voll)</translation>
    </message>
    <message>
        <source>Pavix could not save its settings to %1: %2. The file keeps the settings it had; the changes of this session are not kept.</source>
        <translation>Pavix konnte seine Einstellungen nicht in %1 speichern: %2. Die Datei behält ihre bisherigen Einstellungen; die Änderungen dieser Sitzung gehen verloren.</translation>
    </message>
    <message>
        <source>it is too large to be a settings file</source>
        <translation>sie ist zu groß für eine Einstellungsdatei</translation>
    </message>
    <message>
        <source>it is not a text file</source>
        <translation>sie ist keine Textdatei</translation>
    </message>
    <message>
        <source>Pavix could not read its settings file %1: %2. The file was kept as %3, and Pavix starts on its defaults for what it could not read.</source>
        <translation>Pavix konnte seine Einstellungsdatei %1 nicht lesen: %2. Die Datei wurde als %3 aufbewahrt; für alles, was nicht gelesen werden konnte, startet Pavix mit den Standardwerten.</translation>
    </message>
    <message>
        <source>Pavix could not read its settings file %1: %2. It starts on its defaults for what it could not read.</source>
        <translation>Pavix konnte seine Einstellungsdatei %1 nicht lesen: %2. Für alles, was nicht gelesen werden konnte, startet es mit den Standardwerten.</translation>
    </message>
    <message>
        <source>%1 is not a well-formed settings file</source>
        <translation>%1 ist keine gültige Einstellungsdatei</translation>
    </message>
    <message>
        <source>the X server refused to %1 (error %2).</source>
        <translation>der X-Server hat sich geweigert, %1 (Fehler %2).</translation>
    </message>
    <message>
        <source>There is no picture for the root window.</source>
        <translation>Es gibt kein Bild für das Wurzelfenster.</translation>
    </message>
    <message>
        <source>The picture (%1 x %2 pixels) is larger than the X server&apos;s largest background, %3 pixels a side.</source>
        <translation>Das Bild (%1 x %2 Pixel) ist größer als der größte Hintergrund des X-Servers mit %3 Pixeln Seitenlänge.</translation>
    </message>
    <message>
        <source>The X display &quot;%1&quot; cannot be reached.</source>
        <translation>Die X-Anzeige „%1“ ist nicht erreichbar.</translation>
    </message>
    <message>
        <source>The X display &quot;%1&quot; has no screen %2.</source>
        <translation>Die X-Anzeige „%1“ hat keinen Bildschirm %2.</translation>
    </message>
    <message>
        <source>The root window of &quot;%1&quot; has no true-colour pixels (depth %2).</source>
        <translation>Das Wurzelfenster von „%1“ hat keine Echtfarb-Pixel (Farbtiefe %2).</translation>
    </message>
    <message>
        <source>The root window&apos;s background was not set: %1</source>
        <translation>Der Hintergrund des Wurzelfensters wurde nicht gesetzt: %1</translation>
    </message>
    <message>
        <source>make a pixmap of the picture&apos;s size</source>
        <translation>eine Pixmap in der Größe des Bildes anzulegen</translation>
    </message>
    <message>
        <source>draw on the pixmap</source>
        <translation>auf die Pixmap zu zeichnen</translation>
    </message>
    <message>
        <source>take the picture&apos;s pixels</source>
        <translation>die Pixel des Bildes anzunehmen</translation>
    </message>
    <message>
        <source>the X server gave no name for the background properties.</source>
        <translation>der X-Server hat keinen Namen für die Hintergrund-Eigenschaften geliefert.</translation>
    </message>
    <message>
        <source>make the pixmap the root window&apos;s background</source>
        <translation>die Pixmap zum Hintergrund des Wurzelfensters zu machen</translation>
    </message>
    <message>
        <source>name the background pixmap on the root window</source>
        <translation>die Hintergrund-Pixmap am Wurzelfenster einzutragen</translation>
    </message>
    <message>
        <source>keep the background after Pavix ends</source>
        <translation>den Hintergrund über das Ende von Pavix hinaus zu behalten</translation>
    </message>
    <message>
        <source>The folder %1 is not answering.</source>
        <translation>Der Ordner %1 antwortet nicht.</translation>
    </message>
</context>
<context>
    <name>pavix::preview</name>
    <message>
        <source>File: %1</source>
        <translation>Datei: %1</translation>
    </message>
    <message>
        <source>Dim: %1x%2</source>
        <translation>Maße: %1x%2</translation>
    </message>
    <message>
        <source>Size: %1 bytes</source>
        <translation>Größe: %1 Bytes</translation>
    </message>
    <message>
        <source>Device I/O Error</source>
        <translation>Ein-/Ausgabefehler</translation>
    </message>
    <message>
        <source>seamless</source>
        <translation>nahtlos</translation>
    </message>
    <message>
        <source>faint seams</source>
        <translation>schwache Nähte</translation>
    </message>
    <message>
        <source>visible seams</source>
        <translation>sichtbare Nähte</translation>
    </message>
    <message>
        <source>Tiles: %1 (%2)</source>
        <translation>Kacheln: %1 (%2)</translation>
    </message>
    <message>
        <source>, left-right edge</source>
        <translation>, Kante links/rechts</translation>
    </message>
    <message>
        <source>, top-bottom edge</source>
        <translation>, Kante oben/unten</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Preview - %1 %</source>
        <translation>Vorschau – %1 %</translation>
    </message>
</context>
<context>
    <name>pavix::shell</name>
    <message>
        <source>&amp;Open             Ctl+ O</source>
        <translation>&amp;Öffnen             Strg+O</translation>
    </message>
    <message>
        <source>&amp;Wallpaper      Ctl+ W</source>
        <translation>&amp;Hintergrundbild     Strg+W</translation>
    </message>
    <message>
        <source>Exit                Alt+ X</source>
        <translation>Beenden             Alt+X</translation>
    </message>
    <message>
        <source>Toolbar               Ctl+ T</source>
        <translation>Symbolleiste        Strg+T</translation>
    </message>
    <message>
        <source>Status Bar          Ctl+ S</source>
        <translation>Statusleiste        Strg+S</translation>
    </message>
    <message>
        <source>Folders tree        Ctl+ F</source>
        <translation>Ordnerbaum          Strg+F</translation>
    </message>
    <message>
        <source>Preview              Ctl+ P</source>
        <translation>Vorschau            Strg+P</translation>
    </message>
    <message>
        <source>Arrange Icons</source>
        <translation>Symbole anordnen</translation>
    </message>
    <message>
        <source>Refresh              F5</source>
        <translation>Aktualisieren       F5</translation>
    </message>
    <message>
        <source>Toolbox         F2</source>
        <translation>Werkzeugkasten      F2</translation>
    </message>
    <message>
        <source>Options         F3</source>
        <translation>Optionen            F3</translation>
    </message>
    <message>
        <source>Contents          F1</source>
        <translation>Inhalt              F1</translation>
    </message>
    <message>
        <source>Mp3</source>
        <translation>Mp3</translation>
    </message>
    <message>
        <source>Web page       Ctl+ I</source>
        <translation>Webseite            Strg+I</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über Pavix</translation>
    </message>
    <message>
        <source>View</source>
        <translation>Ansicht</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Hide Preview</source>
        <translation>Vorschau ausblenden</translation>
    </message>
    <message>
        <source>Hide Toolbar</source>
        <translation>Symbolleiste ausblenden</translation>
    </message>
    <message>
        <source>Hide Folders Tree</source>
        <translation>Ordnerbaum ausblenden</translation>
    </message>
    <message>
        <source>Set Wallpaper</source>
        <translation>Als Hintergrundbild festlegen</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Arrange icons</source>
        <translation>Symbole anordnen</translation>
    </message>
    <message>
        <source>Preview pane</source>
        <translation>Vorschaubereich</translation>
    </message>
    <message>
        <source>Tool bar</source>
        <translation>Symbolleiste</translation>
    </message>
    <message>
        <source>Folders tree</source>
        <translation>Ordnerbaum</translation>
    </message>
    <message>
        <source>Picture</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Dateien</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>View Thumbnails</source>
        <translation>Miniaturansichten</translation>
    </message>
    <message>
        <source>Large Icons</source>
        <translation>Große Symbole</translation>
    </message>
    <message>
        <source>Small Icons</source>
        <translation>Kleine Symbole</translation>
    </message>
    <message>
        <source>List</source>
        <translation>Liste</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>Toolbox</source>
        <translation>Werkzeugkasten</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>By Name</source>
        <translation>Nach Name</translation>
    </message>
    <message>
        <source>By Size</source>
        <translation>Nach Größe</translation>
    </message>
    <message>
        <source>By Type</source>
        <translation>Nach Typ</translation>
    </message>
    <message>
        <source>Ascending</source>
        <translation>Aufsteigend</translation>
    </message>
    <message>
        <source>Descending</source>
        <translation>Absteigend</translation>
    </message>
    <message>
        <source>Loading %1</source>
        <translation>Wird geladen %1</translation>
    </message>
    <message>
        <source>Name         </source>
        <translation>Name         </translation>
    </message>
    <message>
        <source>Size  (bytes)</source>
        <translation>Größe  (Bytes)</translation>
    </message>
    <message>
        <source>Type         </source>
        <translation>Typ          </translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>&amp;Extras</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
</context>
<context>
    <name>pavix::shell::LinkCommands</name>
    <message>
        <source>The help page %1 cannot be found beside the program or in its data folder.</source>
        <translation>Die Hilfeseite %1 ist weder neben dem Programm noch in seinem Datenordner zu finden.</translation>
    </message>
</context>
<context>
    <name>pavix::shell::StatusWindow</name>
    <message>
        <source>Status bar</source>
        <translation>Statusleiste</translation>
    </message>
</context>
<context>
    <name>pavix::thumbs::ThumbGrid</name>
    <message>
        <source>Please increase the Thumbnailers&apos; size and press F5 to show the thumbnails. </source>
        <translation>Bitte vergrößern Sie die Miniaturansichten und drücken Sie F5, um sie anzuzeigen. </translation>
    </message>
</context>
<context>
    <name>pavix::toolbox</name>
    <message>
        <source>low</source>
        <translation>gering</translation>
    </message>
    <message>
        <source>The colour of the sample text. While the tiled window shows the sample, the swatch also tells how well the text reads on the tiles.</source>
        <translation>Die Farbe des Beispieltexts. Solange das Kachelfenster das Beispiel zeigt, gibt das Farbfeld auch an, wie gut der Text auf den Kacheln zu lesen ist.</translation>
    </message>
    <message>
        <source>How well the sample reads on the tiles: the contrast between the text colour and the tiles under the text, from 1:1 (none) to 21:1 (black on white). The figure shown is the contrast that 90 % of the background under the text reaches.
10th percentile %1:1, median %2:1, minimum %3:1
AAA: easy to read for nearly everyone (7:1, or 4.5:1 for text of 18 point and up). AA: readable for most (4.5:1, or 3:1 for text of 18 point and up). low: below AA, hard to read for many.</source>
        <translation>Wie gut das Beispiel auf den Kacheln zu lesen ist: der Kontrast zwischen der Textfarbe und den Kacheln unter dem Text, von 1:1 (keiner) bis 21:1 (Schwarz auf Weiß). Die angezeigte Zahl ist der Kontrast, den 90 % des Hintergrunds unter dem Text erreichen.
10. Perzentil %1:1, Median %2:1, Minimum %3:1
AAA: für fast alle leicht lesbar (7:1, bei Text ab 18 Punkt 4,5:1). AA: für die meisten lesbar (4,5:1, bei Text ab 18 Punkt 3:1). gering: unter AA, für viele schwer lesbar.</translation>
    </message>
</context>
<context>
    <name>pavix::toolbox::Toolbox</name>
    <message>
        <source>R</source>
        <translation>R</translation>
    </message>
    <message>
        <source>G</source>
        <translation>G</translation>
    </message>
    <message>
        <source>B</source>
        <translation>B</translation>
    </message>
    <message>
        <source>Toolbox</source>
        <translation>Werkzeugkasten</translation>
    </message>
    <message>
        <source>Sample Text</source>
        <translation>Beispieltext</translation>
    </message>
    <message>
        <source>Font&apos;s color</source>
        <translation>Schriftfarbe</translation>
    </message>
    <message>
        <source>Font&apos;s size:</source>
        <translation>Größe:</translation>
    </message>
    <message>
        <source>On Top</source>
        <translation>Vorn</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>%1 fonts</source>
        <translation>%1 Schriften</translation>
    </message>
    <message>
        <source>%1 point</source>
        <translation>%1 Punkt</translation>
    </message>
    <message>
        <source>Sample text</source>
        <translation>Beispieltext</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>Rot</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>Grün</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Blau</translation>
    </message>
    <message>
        <source>Font size</source>
        <translation>Schriftgröße</translation>
    </message>
    <message>
        <source>Fonts</source>
        <translation>Schriftarten</translation>
    </message>
    <message>
        <source>Readability %1</source>
        <translation>Lesbarkeit %1</translation>
    </message>
</context>
<context>
    <name>pavix::wallpaper</name>
    <message>
        <source>a Wayland session</source>
        <translation>eine Wayland-Sitzung</translation>
    </message>
    <message>
        <source>an X11 session</source>
        <translation>eine X11-Sitzung</translation>
    </message>
    <message>
        <source>a session without a display</source>
        <translation>eine Sitzung ohne Anzeige</translation>
    </message>
    <message>
        <source>&quot;xfconf-query&quot; lists no backdrop picture (no &quot;.../last-image&quot; property of &quot;xfce4-desktop&quot;) that Pavix could change.</source>
        <translation>„xfconf-query“ nennt kein Hintergrundbild (keine Eigenschaft „.../last-image“ von „xfce4-desktop“), das Pavix ändern könnte.</translation>
    </message>
    <message>
        <source>there is no session bus</source>
        <translation>es gibt keinen Sitzungsbus</translation>
    </message>
    <message>
        <source>The Plasma shell answered: %1</source>
        <translation>Die Plasma-Shell antwortete: %1</translation>
    </message>
    <message>
        <source>The Plasma shell cannot be reached (%1), and the program &quot;%2&quot; is not installed.</source>
        <translation>Die Plasma-Shell ist nicht erreichbar (%1), und das Programm „%2“ ist nicht installiert.</translation>
    </message>
    <message>
        <source>&quot;%1&quot;</source>
        <translation>„%1“</translation>
    </message>
    <message>
        <source>The wallpaper was not changed: the picture could not be saved as the bitmap %1.

%2</source>
        <translation>Das Hintergrundbild wurde nicht geändert: Das Bild konnte nicht als Bitmap %1 gespeichert werden.

%2</translation>
    </message>
    <message>
        <source>The wallpaper was not changed: Pavix has no way to set the wallpaper on this desktop (%1).</source>
        <translation>Das Hintergrundbild wurde nicht geändert: Pavix kann auf dieser Arbeitsumgebung (%1) kein Hintergrundbild festlegen.</translation>
    </message>
    <message>
        <source>

The picture was saved as %1; you can make it the wallpaper in your desktop&apos;s settings.</source>
        <translation>

Das Bild wurde als %1 gespeichert; Sie können es in den Einstellungen Ihrer Arbeitsumgebung als Hintergrundbild festlegen.</translation>
    </message>
    <message>
        <source>The wallpaper was not changed: the desktop (%1) refused it.

%2</source>
        <translation>Das Hintergrundbild wurde nicht geändert: Die Arbeitsumgebung (%1) hat es abgelehnt.

%2</translation>
    </message>
    <message>
        <source>%1 ended with exit status %2 and gave no reason.</source>
        <translation>%1 endete mit dem Status %2 und nannte keinen Grund.</translation>
    </message>
    <message>
        <source>%1 ended with exit status %2: %3</source>
        <translation>%1 endete mit dem Status %2: %3</translation>
    </message>
    <message>
        <source>%1 did not finish within %2 seconds and was stopped.</source>
        <translation>%1 war nach %2 Sekunden nicht fertig und wurde beendet.</translation>
    </message>
    <message>
        <source>%1 wrote too much output and was stopped.</source>
        <translation>%1 hat zu viel ausgegeben und wurde beendet.</translation>
    </message>
    <message>
        <source>%1 wrote too much output and was stopped: %2</source>
        <translation>%1 hat zu viel ausgegeben und wurde beendet: %2</translation>
    </message>
    <message>
        <source>%1 stopped unexpectedly.</source>
        <translation>%1 wurde unerwartet beendet.</translation>
    </message>
    <message>
        <source>%1 could not be started: %2</source>
        <translation>%1 konnte nicht gestartet werden: %2</translation>
    </message>
    <message>
        <source>It needs the program %1, which is not installed.</source>
        <translation>Dazu wird das Programm %1 benötigt, das nicht installiert ist.</translation>
    </message>
    <message>
        <source>Please select a file first!</source>
        <translation>Bitte wählen Sie zuerst eine Datei aus!</translation>
    </message>
    <message>
        <source>it did not answer in time</source>
        <translation>sie hat nicht rechtzeitig geantwortet</translation>
    </message>
    <message>
        <source>hyprpaper answered &quot;%1&quot; to &quot;%2&quot;.</source>
        <translation>hyprpaper hat auf „%2“ mit „%1“ geantwortet.</translation>
    </message>
    <message>
        <source>A Wayland program cannot set the wallpaper by itself: Pavix tells GNOME, KDE Plasma, sway, Hyprland (through hyprpaper) and the compositors that run swaybg.</source>
        <translation>Ein Wayland-Programm kann das Hintergrundbild nicht selbst setzen: Pavix gibt es an GNOME, KDE Plasma, sway, Hyprland (über hyprpaper) und an die Compositoren weiter, die swaybg ausführen.</translation>
    </message>
</context>
</TS>
