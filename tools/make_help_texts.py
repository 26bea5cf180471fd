#!/usr/bin/env python3
"""Writes the help text files of data/help (German) and data/help/en (English).

Topics below 4000 go to "kaldorn.hlp", topics from 4000 on to "kora.hlp". A topic owns the
numbers topic .. topic + 4: each text line follows its own number line, and the topic's first
number line names its help picture ("1000:abmess"). Files are code page 850 with CR LF line
ends, each line at most 250 characters.

    tools/make_help_texts.py [data/help]
"""

import os

from help_files import help_folder, write

# (topic, picture or None, German lines, English lines); at most five lines each.
TOPICS = [
    (1000, "abmess",
     ["Berechnungseinstellungen und Nachrechnung: hier werden Drahtquerschnitt (rund, elliptisch, "
      "quadratisch, rechteckig), Warnungen (alle melden / unterdrücken) und das Einheitensystem "
      "(metrisch mm, N, N/mm oder imperial in, lbf, psi, °F) gewählt.",
      "Genauigkeit Federweg bei Iteration F (seps): "
      "0.0000000001 bis 0.1, üblich 0.001. Schritte für die Arbeit W (wsteps): 3 bis 10000, "
      "üblich 100; Faktor von Fc für die Federrate R (faktorRFc): 0.00001 bis 0.1, üblich 0.01.",
      "Schritte für den Federweg (ssteps) 10 bis 10000, üblich 250; Auflösung der 3D-Linie: "
      "Winkel zwischen zwei Punkten der Drahtmittellinie, 0.0001 bis 90°, üblich 2°. Werte "
      "außerhalb des Bereichs werden auf die Grenze gesetzt.",
      "In der Nachrechnung werden d, Dm (oder De, Di), L0, n, die Arbeitslängen L1, L2 und die "
      "Abschnitte eingegeben; jede Änderung rechnet die Feder nach EN 13906-1 neu. Das Bild zeigt "
      "die Abmessungen d, Dm, De, Di, L0 und Lc.",
      "Wickelverhältnis w = Dm/d möglichst zwischen 4 und 20; mm <-> inch schaltet die Anzeige "
      "um, gerechnet wird immer in mm und N."],
     ["Calculation settings and recalculation: choose the wire cross-section (round, elliptic, "
      "square, rectangular), the warnings (report all / suppress) and the unit system (metric "
      "mm, N, N/mm or imperial in, lbf, psi, deg F).",
      "Accuracy of the deflection in the force iteration (seps): 0.0000000001 to 0.1, usually "
      "0.001. Steps for the spring work W (wsteps): 3 to 10000, usually 100; factor of Fc for "
      "the spring rate R (faktorRFc): 0.00001 to 0.1, usually 0.01.",
      "Steps for the deflection (ssteps) 10 to 10000, usually 250; resolution of the 3D line: "
      "angle between two points of the wire centre line, 0.0001 to 90 deg, usually 2 deg. Values "
      "outside the range are set to the limit.",
      "The recalculation form takes d, Dm (or De, Di), L0, n, the working lengths L1, L2 and the "
      "coil sections; every change recalculates the spring after EN 13906-1. The picture shows "
      "the dimensions d, Dm, De, Di, L0 and Lc.",
      "Keep the spring index w = Dm/d between 4 and 20; mm <-> inch switches the display, the "
      "calculation always works in mm and N."]),
    (1050, None,
     ["Ausgabe auf ..: Gerät für den Ausdruck wählen. Bildschirm zeigt den Text im Textfenster; "
      "Textdrucker schreibt auf den Drucker (Druckerschnittstelle der Konfiguration); Datei "
      "speichert eine Textdatei (.txt).",
      "Windows-Drucker druckt über den Systemdrucker, externes Textprogramm öffnet den Text im "
      "konfigurierten Programm, TXT File schreibt tabulatorgetrennte Spalten für "
      "Tabellenkalkulationen, HTML File eine Seite für den Browser.",
      "Das Standardgerät steht in der Konfiguration unter Text Device; die Auswahl erscheint "
      "nur, wenn dort 'Text Device Window ?' eingeschaltet ist. Abbrechen bricht den Ausdruck "
      "ab."],
     ["Output to ..: choose the device for the printout. Screen shows the text in the text "
      "window; text printer writes to the printer (printer port of the configuration); file "
      "saves a text file (.txt).",
      "Windows printer prints on the system printer, external text program opens the text in "
      "the configured program, TXT file writes tab-separated columns for spreadsheets, HTML "
      "file a page for the browser.",
      "The default device is the configuration value Text Device; this choice appears only "
      "when 'Text Device Window ?' is switched on there. Cancel cancels the printout."]),
    (1060, None,
     ["Pause nach jeder Seite ?: Ja hält den Textdrucker nach jeder Seite an, damit einzelne "
      "Blätter eingelegt werden können; Nein druckt ohne Halt durch (Endlospapier, "
      "Einzelblatteinzug).",
      "Die Seitenlänge ist 'Zeilen pro Seite für Drucker' der Konfiguration, üblich 66 Zeilen. "
      "Eine Datei TEXT.KDP im Programmordner wird vor dem Ausdruck als Druckereinstellung an den "
      "Drucker geschickt."],
     ["Pause after each page ?: yes stops the text printer after every page so that single "
      "sheets can be inserted; no prints straight through (continuous paper, sheet feeder).",
      "The page length is 'lines per page for printer' of the configuration, usually 66 lines. "
      "A file TEXT.KDP in the program folder is sent to the printer before the printout as its "
      "set-up."]),
    (1210, None,
     ["Meldungen der Berechnung: Fatal stoppt die Berechnung (keine Ergebnisse), Fehler zeigt "
      "eine unzulässige Auslegung (z. B. Spannung über der zulässigen, F2 über Fc), Warnung "
      "einen Wert außerhalb der Empfehlungen (z. B. Wickelverhältnis w < 4).",
      "Eine Meldung wählen zeigt Ursache und Abhilfe aus der Datei kora.err; beide Texte können "
      "dort ergänzt und gespeichert werden. Weiter/zurück... schließt die Liste.",
      "Die Grenzen folgen EN 13906-1 (Spannungen, Knickung, Blocklänge), EN 15800 und DIN 2096 "
      "(Toleranzen). Warnungen lassen sich in den Berechnungseinstellungen unterdrücken, Fehler "
      "und Fatal nicht."],
     ["Messages of the calculation: Fatal stops the calculation (no results), Fehler (error) "
      "marks an inadmissible design (e.g. stress above the permissible one, F2 above Fc), "
      "Warnung (warning) a value outside the recommendations (e.g. spring index w < 4).",
      "Choosing a message shows its cause and remedy from the file kora.err; both texts can be "
      "completed and saved there. Weiter/zurück... closes the list.",
      "The limits follow EN 13906-1 (stresses, buckling, solid length), EN 15800 and DIN 2096 "
      "(tolerances). Warnings can be suppressed in the calculation settings, errors and fatal "
      "messages cannot."]),
    (1950, "kennlin",
     ["Diagrammgrenzen: kleinster und größter Wert der x- und der y-Achse des Diagramms in den "
      "Einheiten der Achse. Vorbelegt sind die zuletzt eingegebenen, beim ersten Mal die "
      "berechneten Grenzen.",
      "Calculate setzt die berechneten Grenzen wieder ein. Nach OK werden die Grenzen auf runde "
      "Teilungen (6 Teilungen) erweitert; Abbrechen behält die berechneten Grenzen.",
      "Der Dialog erscheint nur, wenn 'Enter Diagram Limits ?' in der Konfiguration "
      "eingeschaltet ist."],
     ["Diagram limits: smallest and largest value of the x and y axis of the diagram, in the "
      "units of the axis. Preset are the limits entered last, the first time the computed ones.",
      "Calculate puts the computed limits back. After OK the limits are widened to round "
      "divisions (6 divisions); cancel keeps the computed limits.",
      "The dialog appears only when 'Enter Diagram Limits ?' is switched on in the "
      "configuration."]),
    (2300, "null",
     ["Hilfebilder: die Liste kora.dbh im Hilfe-Ordner (PLT Ordner) nennt die Bilder (HP-GL, "
      ".plt) mit einer Beschreibung. Auswahl in der Liste oder die Pfeile zeigen das vorige oder "
      "nächste Bild im Grafikfenster.",
      "Neu hängt ein Bild an die Liste an, Einfügen setzt es vor das gewählte, Ändern ändert "
      "Dateiname und Beschreibung, Löschen entfernt die Zeile (die Bilddatei bleibt). OK "
      "schließt die Hilfebilder.",
      "Bildfläche 160 x 120 mm, Plottereinheit 0.025 mm; verwendet werden PU, PD, PA, SP, CI, "
      "AA, SI, DI, LB, PE und CS (CS3: o} ergibt ö)."],
     ["Help pictures: the list kora.dbh in the help folder (PLT Ordner) names the pictures "
      "(HP-GL, .plt) with a description. Choosing in the list or the arrows shows the previous "
      "or next picture in the graphics window.",
      "New appends a picture to the list, Insert puts it before the selected one, Change edits "
      "file name and description, Delete removes the line (the picture file stays). OK closes "
      "the help pictures.",
      "Picture area 160 x 120 mm, plotter unit 0.025 mm; the commands used are PU, PD, PA, SP, "
      "CI, AA, SI, DI, LB, PE and CS (CS3: o} gives an o umlaut)."]),
    (2310, None,
     ["Information zum Hilfebild: kurze Beschreibung des Bildes für die Liste, höchstens 50 "
      "Zeichen, z. B. 'Abmessungen: d, Dm, De, Di, L0, Lc'."],
     ["Information on the help picture: a short description of the picture for the list, at "
      "most 50 characters, e.g. 'Dimensions: d, Dm, De, Di, L0, Lc'."]),
    (2320, None,
     ["Löschen: die gewählte Zeile wird aus der Bilderliste kora.dbh entfernt; die Bilddatei "
      "selbst bleibt im Hilfe-Ordner. Nein beendet die Hilfebilder ohne Änderung."],
     ["Delete: the chosen line is removed from the picture list kora.dbh; the picture file "
      "itself stays in the help folder. No ends the help pictures without a change."]),
    (2330, None,
     ["Zu ändernde Zeile wählen: die Zeile der Bilderliste, deren Dateiname oder Beschreibung "
      "geändert werden soll."],
     ["Choose the line to change: the line of the picture list whose file name or description "
      "is to be changed."]),
    (2340, None,
     ["Dateiname (ohne Endung .plt): Name der Bilddatei im Hilfe-Ordner, höchstens 8 Zeichen. "
      "Information zum Hilfebild: Beschreibung für die Liste, höchstens 50 Zeichen."],
     ["File name (without the extension .plt): name of the picture file in the help folder, at "
      "most 8 characters. Information on the help picture: description for the list, at most "
      "50 characters."]),
    (2350, None,
     ["Vor welche Zeile einfügen ?: das neue Bild wird vor der gewählten Zeile in die "
      "Bilderliste eingefügt; danach wird eine .plt-Datei und ihre Beschreibung abgefragt."],
     ["Insert before which line ?: the new picture is inserted into the picture list before "
      "the chosen line; then a .plt file and its description are asked for."]),
    (2730, None,
     ["Document Setup: bis zu fünf Dokumente, die mit der Feder verknüpft sind (Zeichnung, "
      "Prüfbericht, Angebot). Je Dokument ein Programm (z. B. Textverarbeitung, PDF-Anzeige) "
      "und eine Datei; ... öffnet die Dateiauswahl.",
      "Die Verknüpfungen werden in der Federdatei gespeichert; das Menü Dokument startet das "
      "Programm mit der Datei. Ein leeres Programmfeld öffnet die Datei mit dem Standardprogramm "
      "des Systems."],
     ["Document setup: up to five documents linked with the spring (drawing, test report, "
      "quotation). For each a program (e.g. word processor, PDF viewer) and a file; ... opens "
      "the file choice.",
      "The links are saved in the spring file; the Document menu starts the program with the "
      "file. An empty program field opens the file with the system's default program."]),
    (2750, "kennlin",
     ["Auslegung oder Nachrechnung: Nachrechnung prüft eine vorhandene Feder aus d, Dm, L0 und "
      "den Windungsabschnitten (Länge L0i und Windungszahl ni je Abschnitt).",
      "Auslegung entwirft die Abschnitte aus einer gewünschten Kennlinie: Punkte F über s, F "
      "über L, oder Kraft und Rate über der Länge (F,R-L). Vorschläge für d und Dm ergeben sich "
      "aus der zulässigen Spannung nach EN 13906-1.",
      "Eine progressive Feder hat Abschnitte verschiedener Steigung; jeder Abschnitt legt sich "
      "bei seiner Kraft Fci an, danach wird die Kennlinie steiler (siehe Bild)."],
     ["Design or recalculation: recalculation checks an existing spring from d, Dm, L0 and the "
      "coil sections (length L0i and number of coils ni per section).",
      "Design lays out the sections from a wished characteristic: points F over s, F over L, or "
      "force and rate over length (F,R-L). Proposals for d and Dm follow from the permissible "
      "stress after EN 13906-1.",
      "A progressive spring has sections of different pitch; each section closes at its force "
      "Fci, after which the characteristic is steeper (see picture)."]),
    (3000, None,
     ["Änderung: Änderungstext (Kurztext, höchstens 20 Zeichen, erscheint im Änderungsfeld der "
      "Zeichnung), Datum (10 Zeichen; < setzt das heutige Datum), Bearbeiter (Kürzel, 5 Zeichen) "
      "und eine ausführliche Beschreibung.",
      "Bis zu 25 Änderungen werden mit der Feder gespeichert und im Ausdruck 'Änderungen' "
      "aufgeführt; der Index (a, b, c ... oder 1, 2, 3 ...) wird in der Konfiguration gewählt."],
     ["Change: change text (short text, at most 20 characters, shown in the change field of "
      "the drawing), date (10 characters; < puts today's date), editor (initials, 5 "
      "characters) and a full description.",
      "Up to 25 changes are saved with the spring and listed in the printout of changes; the "
      "index (a, b, c ... or 1, 2, 3 ...) is chosen in the configuration."]),
    (3010, None,
     ["Zeichnungsinfo: Texte des Schriftfelds der Fertigungszeichnung (Benennung, "
      "Zeichnungsnummer, Kunde, Bearbeiter, Datum, Maßstab) und bis zu 8 freie Zeichnungstexte "
      "mit ihrer Lage.",
      "Die Angaben werden mit der Feder gespeichert und in jede Fertigungszeichnung übernommen; "
      "Hersteller, Dateiname und Datum lassen sich in der Konfiguration ausblenden."],
     ["Drawing info: texts of the title block of the production drawing (title, drawing "
      "number, customer, editor, date, scale) and up to 8 free drawing texts with their "
      "position.",
      "The data are saved with the spring and used in every production drawing; maker, file "
      "name and date can be hidden in the configuration."]),
    (5050, None,
     ["Werkstoffname: Bezeichnung des Drahtwerkstoffs, z. B. 'EN 10270-1 DH' (patentiert "
      "gezogener Federstahldraht), 'EN 10270-2 VD' (ölschlussvergüteter Ventilfederdraht) oder "
      "'1.4310' (nichtrostend, EN 10270-3)."],
     ["Material name: designation of the wire material, e.g. 'EN 10270-1 DH' (patented "
      "cold-drawn spring steel wire), 'EN 10270-2 VD' (oil-hardened valve spring wire) or "
      "'1.4310' (stainless, EN 10270-3)."]),
    (5060, None,
     ["Elastizitätsmodul E in N/mm² bei 20 °C: Federstahl etwa 206000, nichtrostend 1.4310 "
      "etwa 185000. E geht in die Knickung und die Biegespannung ein."],
     ["Modulus of elasticity E in N/mm² at 20 deg C: spring steel about 206000, stainless "
      "1.4310 about 185000. E enters the buckling and the bending stress."]),
    (5070, None,
     ["Gleitmodul G in N/mm² bei 20 °C: Federstahl nach EN 10270-1/-2 etwa 81500, "
      "nichtrostend 1.4310 etwa 70000. G bestimmt die Federrate R = G d^4 / (8 Dm³ n); bei "
      "höherer Temperatur wird G abgemindert."],
     ["Shear modulus G in N/mm² at 20 deg C: spring steel after EN 10270-1/-2 about 81500, "
      "stainless 1.4310 about 70000. G sets the spring rate R = G d^4 / (8 Dm^3 n); at higher "
      "temperatures G is reduced."]),
    (5080, None,
     ["Dichte in kg/dm³: Federstahl 7.85, nichtrostend 7.9. Sie dient für Federgewicht und "
      "Eigenfrequenz."],
     ["Density in kg/dm³: spring steel 7.85, stainless 7.9. It gives the spring's weight and "
      "natural frequency."]),
    (5090, None,
     ["Zugfestigkeit Rm in N/mm² beim Drahtdurchmesser d: bei Draht nach EN 10270 fällt Rm mit "
      "wachsendem d, z. B. DH mindestens 2230 bei d = 1 mm und 1410 bei d = 10 mm (Mindestwerte der "
      "Norm). Aus der Tabelle wird Rm zu d interpoliert."],
     ["Tensile strength Rm in N/mm² at the wire diameter d: for wire after EN 10270 Rm falls "
      "as d grows, e.g. DH at least 2230 at d = 1 mm and 1410 at d = 10 mm (minimum values of the "
      "standard). The table value is interpolated at d."]),
    (5100, None,
     ["Zulässige Schubspannung tauz in N/mm²: nach EN 13906-1 für kaltgeformte Federn bei "
      "statischer Belastung etwa 0.5 Rm; bei Blocklänge gilt tauc <= tauz."],
     ["Permissible shear stress tauz in N/mm²: after EN 13906-1 for cold-formed springs under "
      "static load about 0.5 Rm; at solid length tauc <= tauz applies."]),
    (5120, None,
     ["Toleranz der Dauerfestigkeit in %: obere und untere Abweichung der "
      "Dauerhubfestigkeit tauH vom Tabellenwert, z. B. +0 / -10 % für einen Sicherheitsabschlag. "
      "Die Werte verschieben das Goodman-Diagramm."],
     ["Tolerance of the fatigue strength in %: upper and lower deviation of the fatigue stroke "
      "strength tauH from the table value, e.g. +0 / -10 % as a safety margin. The values shift "
      "the Goodman diagram."]),
    (5140, None,
     ["Werkstoff: Datenbank wählt einen Werkstoff aus korwst.dbf (E, G, Dichte, Rm über d, "
      "Dauerfestigkeit); andere ...... nimmt eigene Werte für Name, E, G, Dichte, Rm und "
      "zulässige Spannung.",
      "Drahttoleranz nach DIN 2076 B/C, DIN 2077, EN 10218-2 T1 bis T5 oder EN 10270-1/-2/-3; "
      "mit 'andere' wird das Abmaß selbst eingegeben. Oberfläche: gezogen, gewalzt, geschliffen "
      "oder geschält (wichtig für die Dauerfestigkeit).",
      "Typische Werkstoffe: EN 10270-1 SL, SM, SH, DM, DH (patentiert gezogen), EN 10270-2 FD, "
      "TD, VD (ölschlussvergütet), EN 10270-3 1.4310, 1.4568 (nichtrostend), warmgewalzte "
      "Stähle 51CrV4, 54SiCr6 nach DIN 2096."],
     ["Material: database chooses a material from korwst.dbf (E, G, density, Rm over d, "
      "fatigue strength); other ...... takes your own values for name, E, G, density, Rm and "
      "permissible stress.",
      "Wire tolerance after DIN 2076 B/C, DIN 2077, EN 10218-2 T1 to T5 or EN 10270-1/-2/-3; "
      "with 'other' the deviation is typed. Surface: drawn, rolled, ground or peeled "
      "(important for the fatigue strength).",
      "Typical materials: EN 10270-1 SL, SM, SH, DM, DH (patented drawn), EN 10270-2 FD, TD, VD "
      "(oil-hardened and tempered), EN 10270-3 1.4310, 1.4568 (stainless), hot-rolled steels "
      "51CrV4, 54SiCr6 after DIN 2096."]),
    (5150, None,
     ["Drahttoleranz: Norm des Drahtdurchmessers. DIN 2076 B und C (0.07 bis 20 mm), DIN 2077 "
      "(7 bis 80 mm, warmgewalzt), EN 10218-2 Klassen T1 bis T5, EN 10270-1/-2/-3 (Federdraht). "
      "Das Abmaß geht in die Toleranz von Dm, F und die Blocklänge ein."],
     ["Wire tolerance: standard of the wire diameter. DIN 2076 B and C (0.07 to 20 mm), DIN "
      "2077 (7 to 80 mm, hot-rolled), EN 10218-2 classes T1 to T5, EN 10270-1/-2/-3 (spring "
      "wire). The deviation enters the tolerances of Dm and F and the solid length."]),
    (5300, "enden",
     ["Herstellung: Endwindungen angelegt und geschliffen, angelegt und nicht geschliffen, "
      "oder nicht angelegt. nend1 und nend2 sind die nicht federnden Windungen an jedem Ende, "
      "üblich 1 und 1 (kaltgeformt) oder 0.75 und 0.75 (warmgeformt).",
      "Blocklänge Lc = (nt + x) * d max mit nt = n + nend1 + nend2; nach EN 13906-1 für "
      "geschliffene Enden x = 0 (Lc <= nt * d max), für ungeschliffene x = 1.5.",
      "Verarbeitung: kaltgeformt bis d = 17 mm (EN 13906-1, EN 15800) oder warmgeformt mit "
      "gewalzter oder bearbeiteter Oberfläche (DIN 2096)."],
     ["Production: end coils closed and ground, closed and not ground, or open. nend1 and "
      "nend2 are the inactive coils at each end, usually 1 and 1 (cold-formed) or 0.75 and 0.75 "
      "(hot-formed).",
      "Solid length Lc = (nt + x) * d max with nt = n + nend1 + nend2; after EN 13906-1 x = 0 "
      "for ground ends (Lc <= nt * d max) and x = 1.5 for unground ends.",
      "Processing: cold-formed up to d = 17 mm (EN 13906-1, EN 15800) or hot-formed with a "
      "rolled or machined surface (DIN 2096)."]),
    (5310, None,
     ["Oberfläche des Drahts: gezogen (Federdraht EN 10270), gewalzt (warmgewalzter Stab), "
      "geschliffen oder geschält. Bearbeitete Oberflächen haben weniger Randfehler und eine "
      "höhere Dauerfestigkeit; kugelgestrahlte Federn zusätzlich."],
     ["Surface of the wire: drawn (spring wire EN 10270), rolled (hot-rolled bar), ground or "
      "peeled. Machined surfaces have fewer surface flaws and a higher fatigue strength; shot "
      "peened springs even more so."]),
    (5350, "toleranz",
     ["Toleranzen: für Dm (De, Di), L0, F1, F2, e1 und e2 je ein Gütegrad. EN 15800 Grad 1 "
      "fein, 2 mittel, 3 grob für kaltgeformte Federn aus Runddraht; DIN 2096 für warmgeformte "
      "Federn; 'andere ...' nimmt eigene Abmaße max. und min.",
      "e1 ist die Abweichung der Mantellinie von der Senkrechten, e2 die Parallelität der "
      "Endflächen (nur bei geschliffenen Enden sinnvoll). Die Abmaße hängen von d, Dm und dem "
      "Wickelverhältnis w ab.",
      "Fertigungsausgleich: damit F1 oder F2 in der Toleranz bleibt, darf der Hersteller n, L0 "
      "oder d anpassen (EN 15800); der Ausgleich legt fest, welche Größe frei bleibt."],
     ["Tolerances: one grade each for Dm (De, Di), L0, F1, F2, e1 and e2. EN 15800 grade 1 "
      "fine, 2 medium, 3 coarse for cold-formed springs of round wire; DIN 2096 for hot-formed "
      "springs; 'other ...' takes your own deviations max. and min.",
      "e1 is the deviation of the outline from square, e2 the parallelism of the end faces "
      "(meaningful only with ground ends). The deviations depend on d, Dm and the spring index "
      "w.",
      "Production compensation: to keep F1 or F2 within tolerance the maker may adjust n, L0 "
      "or d (EN 15800); the compensation states which of them is left free."]),
    (5360, "toleranz",
     ["Fertigungsausgleich durch: die Größe, die der Hersteller ändern darf, damit die "
      "tolerierte Kraft F1 oder F2 erreicht wird, z. B. n und L0 bei einer Kraft, oder n, L0 "
      "und d bei zwei Kräften (EN 15800)."],
     ["Production compensation by: the quantity the maker may change so that the toleranced "
      "force F1 or F2 is met, e.g. n and L0 for one force, or n, L0 and d for two forces (EN "
      "15800)."]),
    (5380, None,
     ["Statistische Auswertung: aus den Toleranzen und dem Sigma-Faktor wird der Anteil "
      "fehlerhafter Federn (Ausschuss) der Fertigung geschätzt, unter der Annahme normal "
      "verteilter Maße.",
      "Die Fertigungsangabe bezieht sich auf einen Gütegrad; das Toleranzfeld entspricht +- "
      "Sigma-Faktor Standardabweichungen."],
     ["Statistical evaluation: from the tolerances and the sigma factor the share of faulty "
      "springs (rejects) of a production is estimated, assuming normally distributed values.",
      "The production grade refers to a tolerance grade; the tolerance field corresponds to +- "
      "sigma factor standard deviations."]),
    (5390, None,
     ["Fertigungsangabe bezogen auf ?: der Gütegrad (EN 15800 Grad 1, 2, 3 oder DIN 2096), "
      "den die Fertigung sicher einhält."],
     ["Production grade refers to ?: the tolerance grade (EN 15800 grade 1, 2, 3 or DIN 2096) "
      "that the production reliably keeps."]),
    (5400, None,
     ["Sigma-Faktor: halbe Toleranzfeldbreite in Standardabweichungen, normal 2.5 bis 3. "
      "Größere Werte bedeuten eine genauere Fertigung und weniger Ausschuss."],
     ["Sigma factor: half the tolerance field in standard deviations, normally 2.5 to 3. "
      "Larger values mean a more precise production and fewer rejects."]),
    (5450, "dorn",
     ["Anwendung: statische oder dynamische Belastung, Lastspielfrequenz f in Hz, Temperatur "
      "in °C und die Lagerung für die Knickung (Lagerungsbeiwert nue: 0.5 beide Enden geführt "
      "und parallel, 0.7 ein Ende gelenkig, 1 beide gelenkig, 2 ein Ende frei).",
      "Schlanke Federn (L0/D groß) knicken nach EN 13906-1; Abhilfe schafft eine Führung auf "
      "einem Dorn (Dd < Di) oder in einer Hülse (Dh > De). De wächst beim Zusammendrücken, "
      "daher genügend Spiel lassen.",
      "Bei dynamischer Last wird die Hubspannung gegen die Dauerhubfestigkeit (Goodman) "
      "geprüft; die Eigenfrequenz soll weit über der Lastspielfrequenz liegen."],
     ["Application: static or dynamic load, load frequency f in Hz, temperature in deg C and "
      "the seating for buckling (seating coefficient nue: 0.5 both ends guided and parallel, "
      "0.7 one end pivoted, 1 both pivoted, 2 one end free).",
      "Slender springs (L0/D large) buckle after EN 13906-1; a guide on a mandrel (Dd < Di) or "
      "in a sleeve (Dh > De) helps. De grows under compression, so leave enough clearance.",
      "Under dynamic load the stroke stress is checked against the fatigue stroke strength "
      "(Goodman); the natural frequency should lie well above the load frequency."]),
    (5490, "kennlin",
     ["Federkennlinie: die Punkte der gewünschten Kennlinie, je Punkt Federweg s (oder Länge "
      "L) und Kraft F. Neu hängt einen Punkt an, Einfügen setzt ihn vor den gewählten, Ändern "
      "oder Doppelklick bearbeitet ihn, Tabelle zeigt alle Punkte.",
      "Mindestens 2 Punkte; die Kraft soll mit dem Weg steigen und die Rate von Punkt zu Punkt "
      "zunehmen (progressive Kennlinie). Aus den Punkten werden die Windungsabschnitte "
      "ausgelegt."],
     ["Characteristic: the points of the wished characteristic, for each point deflection s "
      "(or length L) and force F. New appends a point, Insert puts it before the chosen one, "
      "Change or a double click edits it, Table shows all points.",
      "At least 2 points; the force should rise with the deflection and the rate grow from "
      "point to point (progressive characteristic). The coil sections are designed from the "
      "points."]),
    (5500, "kennlin",
     ["Windungsabschnitte: je Abschnitt die ungespannte Länge L0i und die Zahl der federnden "
      "Windungen ni. Die Summe der L0i und die Endwindungen ergeben L0; kleine Steigung legt "
      "sich zuerst an.",
      "Jeder Abschnitt hat die Rate Ri = G d^4 / (8 Dm³ ni); liegt er bei Fci an, federn nur "
      "noch die übrigen, die Kennlinie wird steiler. Bis zu 50 Abschnitte.",
      "Tabelle: + fügt eine Zeile an, - entfernt die letzte, mm <--> inch schaltet die "
      "Einheiten der Tabelle um."],
     ["Coil sections: for each section the free length L0i and the number of active coils "
      "ni. The sum of L0i and the end coils give L0; the smallest pitch closes first.",
      "Each section has the rate Ri = G d^4 / (8 Dm^3 ni); once it closes at Fci only the "
      "others deflect and the characteristic is steeper. Up to 50 sections.",
      "Table: + appends a row, - removes the last one, mm <--> inch switches the units of the "
      "table."]),
    (7400, None,
     ["Relaxation: Kraftverlust der Feder unter Last nach 48 Stunden in % abhängig von "
      "Spannung und Temperatur, je Werkstoff aus korwstr.dbf. Browse zeigt die Tabelle; die "
      "Werte entsprechen Relaxationsschaubildern wie in EN 13906-1."],
     ["Relaxation: loss of spring force under load after 48 hours in %, depending on stress "
      "and temperature, per material from korwstr.dbf. Browse shows the table; the values "
      "correspond to relaxation charts as in EN 13906-1."]),
    (7410, None,
     ["Anlassen: Angaben zur Wärmebehandlung nach dem Winden (Temper 1 bis 3, Info) je "
      "Werkstoff aus korwstt.dbf, z. B. 30 min bei 250 bis 300 °C für patentiert gezogenen "
      "Draht. Browse zeigt die Tabelle."],
     ["Tempering: heat treatment after coiling (temper 1 to 3, info) per material from "
      "korwstt.dbf, e.g. 30 min at 250 to 300 deg C for patented drawn wire. Browse shows the "
      "table."]),
    (7430, "abmess",
     ["Schrittweite (WINDUNGEN): Abstand der Zeilen der Windungsliste in Windungen, 0.01 bis "
      "1, üblich 0.25. Die Liste zeigt Lage und Abstand der Windungen entlang der ungespannten "
      "Feder.",
      "Nur progressive Bereiche drucken ? beschränkt die Liste auf die Abschnitte, deren "
      "Steigung von der Grundsteigung abweicht."],
     ["Step (COILS): distance of the lines of the coil list in coils, 0.01 to 1, usually 0.25. "
      "The list shows position and gap of the coils along the unloaded spring.",
      "Print progressive regions only ? restricts the list to the sections whose pitch differs "
      "from the basic pitch."]),
    (9010, "enden",
     ["Fertigungszeichnung: Ansichten (Vorderansicht, Schnitt), Bemaßung, Kennlinie oder "
      "Kräftetabelle, Toleranzen nach EN 15800 / DIN 2096, Fertigungsangaben (Werkstoff, "
      "Endenausführung, Wickelrichtung, Oberflächenbehandlung) und Schriftfeld wählen.",
      "Die Zeichnung geht auf den Bildschirm, in eine DXF- oder IGES-Datei oder an den Plotter; "
      "Texte des Schriftfelds stehen unter Zeichnungsinfo."],
     ["Production drawing: choose the views (front view, cut), dimensions, characteristic or "
      "force table, tolerances after EN 15800 / DIN 2096, production notes (material, end "
      "type, coiling direction, surface treatment) and title block.",
      "The drawing goes to the screen, a DXF or IGES file or the plotter; the title block texts "
      "are kept under drawing info."]),
    (9030, "kennlin",
     ["Federkraft bei Federlänge: für den Punkt i der Federweg si (oder die Länge Li) in mm und "
      "die Kraft Fi in N; bei F,R-L zusätzlich die Rate Ri in N/mm.",
      "Die angezeigte Federrate (i-1) - i ist die Sekante zum vorigen Punkt: (Fi - Fi-1) / "
      "(si - si-1). Sie soll von Punkt zu Punkt steigen."],
     ["Spring force at spring length: for point i the deflection si (or length Li) in mm and "
      "the force Fi in N; for F,R-L also the rate Ri in N/mm.",
      "The spring rate (i-1) - i shown is the secant to the previous point: (Fi - Fi-1) / (si - "
      "si-1). It should grow from point to point."]),
    (9580, None,
     ["Tempering-Tabelle korwstt.dbf: je Werkstoffnummer die Anlassangaben. Eine Zeile wählen "
      "und das Fenster schließen übernimmt sie."],
     ["Tempering table korwstt.dbf: the tempering data per material number. Choosing a row "
      "and closing the window takes it."]),
    (9585, None,
     ["Relaxations-Tabelle korwstr.dbf: je Werkstoffnummer der Kraftverlust in % über "
      "Spannung und Temperatur. Eine Zeile wählen und das Fenster schließen übernimmt sie."],
     ["Relaxation table korwstr.dbf: the force loss in % over stress and temperature per "
      "material number. Choosing a row and closing the window takes it."]),
]

MAX_LINE = 250


def hlp(topics, german):
    out = []
    for topic, picture, de_lines, en_lines in topics:
        lines = de_lines if german else en_lines
        assert topic % 5 == 0 and 1 <= len(lines) <= 5, topic
        for i, line in enumerate(lines):
            number = f"{topic + i:4d}"
            if i == 0 and picture:
                number += ":" + picture
            data = line.encode("cp850")
            assert len(data) <= MAX_LINE, (topic, i, len(data))
            out.append(number.encode("ascii"))
            out.append(data)
    return b"".join(line + b"\r\n" for line in out)




def main():
    folder = help_folder()
    os.makedirs(os.path.join(folder, "en"), exist_ok=True)
    low = [t for t in TOPICS if t[0] < 4000]
    high = [t for t in TOPICS if t[0] >= 4000]
    for german, sub in ((True, ""), (False, "en")):
        write(os.path.join(folder, sub, "kaldorn.hlp"), hlp(low, german))
        write(os.path.join(folder, sub, "kora.hlp"), hlp(high, german))


if __name__ == "__main__":
    main()
