#include "assess/known_file_types.h"

#include <span>

namespace pylomir::assess {

namespace {

struct Row {
    const char16_t* key;
    const char16_t* description;
    int frequency;
};

// Texts that several keys share: keys that are really the same kind of file
// get one description.

constexpr char16_t kSampleVideos[] =
    u"Przykładowe klipy wideo instalowane razem z odtwarzaczami multimedialnymi (m.in. Apple "
    u"QuickTime i Windows Media Player), pokazujące ich możliwości. Do działania odtwarzaczy nie "
    u"są potrzebne - można je bezpiecznie usunąć.";
constexpr char16_t kSampleMusic[] =
    u"Przykładowe nagrania w formacie Windows Media Audio (WMA) dołączane do systemu Windows i "
    u"jego prezentacji. Do działania programów nie są potrzebne; przed usunięciem sprawdź tylko, "
    u"czy nie jest to Twoje własne nagranie o tej samej nazwie.";
constexpr char16_t kXpTourSegments[] =
    u"Części animowanej prezentacji systemu Windows XP (Przewodnik po systemie Windows XP) w "
    u"formacie Macromedia Flash. Potrzebne tylko do obejrzenia prezentacji - można je bezpiecznie "
    u"usunąć.";
constexpr char16_t kMediaPlayerTourSounds[] =
    u"Nagrania dźwiękowe z prezentacji programu Windows Media Player, dołączane do systemu "
    u"Windows. Do działania odtwarzacza nie są potrzebne - można je bezpiecznie usunąć.";
constexpr char16_t kMediaPlayerTourVideos[] =
    u"Klipy wideo z prezentacji programu Windows Media Player (kopiowanie płyt CD, biblioteka "
    u"multimediów, skórki, radio, wizualizacje), dołączane do systemu Windows. Do działania "
    u"odtwarzacza nie są potrzebne - można je bezpiecznie usunąć.";
constexpr char16_t kWindows98Welcome[] =
    u"Pliki ekranu powitalnego i prezentacji systemu Windows 98 (program powitalny, przewodnik "
    u"po systemie i towarzyszący im dźwięk). Do pracy systemu nie są potrzebne; po ich usunięciu "
    u"ekran powitalny przestanie się pojawiać.";
constexpr char16_t kNortonAntiVirusLogs[] =
    u"Pliki LOG programu antywirusowego Norton AntiVirus (AVVirus.log - [wykryte wirusy] i "
    u"AVApp.log - [działania aplikacji])";

constexpr char16_t kTemporary[] =
    u"Plik tymczasowy, tworzony przez niemal każdą aplikację. Całkowicie bezpieczny przy "
    u"usuwaniu. Jeśli jest teraz używany przez aplikację - nie będzie usunięty !";
constexpr char16_t kBackups[] =
    u"Pliki BAK i BACKUP oraz OLD są plikami kopii zapasowej oryginalnych plików tworzonych przez "
    u"aplikacje lub sam system (pliki te są używane do odtworzenia oryginalnego pliku, gdy ten "
    u"został uszkodzony)";
constexpr char16_t kSuspectExtension[] =
    u"Wykryto podejrzane rozszerzenie! Plik ma jedno z tych rozszerzeń: SYS, DLL, VXD, INI, INF, "
    u"DAT, DRV, CFG, COM, OCX, NT, AX, LIC, BIN. Należy zachowac ostrożność !";
constexpr char16_t kTildeTemporary[] =
    u"Pliki tymczasowe z rozszerzeniem zaczynającym się od dwóch tyld (~~C, ~~W, ~~D), "
    u"zapisywane przez programy w czasie pracy. Po zamknięciu programu, który je utworzył, są "
    u"zbędne - można je usunąć.";
constexpr char16_t kHtmlHelpIndexes[] =
    u"Pliki indeksu połączonego (CHW) i wyszukiwania pełnotekstowego (CHQ) pomocy Microsoft HTML "
    u"Help (pliki CHM), tworzone przy korzystaniu z pomocy. Bezpieczne przy usuwaniu - zostaną "
    u"odtworzone, gdy będą potrzebne.";
constexpr char16_t kBracedReports[] =
    u"Pliki raportów o nazwie w postaci identyfikatora w nawiasach klamrowych ({...}.REPT, "
    u".REPH, .REPI), zapisywane przez programy o przebiegu swojej pracy. Zwykle są zbędne; w razie "
    u"wątpliwości sprawdź, jaki program je utworzył.";
constexpr char16_t kNumberedTemporary[] =
    u"Numerowane pliki tymczasowe (rozszerzenia I0000, I0001, I0100, ...), w których programy "
    u"zapisują kolejne części danych roboczych. Po zamknięciu programu, który je utworzył, są "
    u"zbędne; w razie wątpliwości przed usunięciem sprawdź ich folder.";
constexpr char16_t kSetupLogs[] =
    u"Pliki dziennika (LGC, LGD, LGE) z zapisem przebiegu instalacji lub działania programów. Po "
    u"zakończonej instalacji zwykle zbędne - można je usunąć, jeśli nie szukasz przyczyny błędu.";
constexpr char16_t kScripts[] =
    u"Skrypty VBScript (VBS) i zakodowane skrypty VBScript (VBE), wykonywane przez Windows Script "
    u"Host. Z folderu Temporary Internet Files są zbędne i mogą zawierać kod wirusa; w innych "
    u"folderach mogą należeć do programów lub systemu - należy zachować ostrożność !";
constexpr char16_t kOddSignTemporary[] =
    u"Pliki tymczasowe o rozszerzeniu złożonym ze znaków specjalnych (###, ___, ---), tworzone "
    u"przez różne programy w czasie pracy i zwykle pozostawione po ich nieprawidłowym zamknięciu. "
    u"Nie są potrzebne - można je usunąć.";
constexpr char16_t kNortonUtilitiesBackups[] =
    u"Pliki kopii zapasowej z rozszerzeniem NU3 i NU4, przypisywane pakietowi Norton Utilities "
    u"(zapis stanu sprzed zmian wprowadzanych przez jego narzędzia). Jeśli system po tych "
    u"zmianach działa poprawnie, można je usunąć.";
constexpr char16_t kBorlandBackups[] =
    u"Kopie zapasowe plików źródłowych zapisywane przez środowiska Borland Delphi i C++Builder "
    u"przy każdym zapisie (~PAS, ~DFM, ~DPR, ~DPK, ~BPL, ~CPP, ~H). Zawierają poprzednią wersję "
    u"pliku; jeśli nie jest potrzebna, można je bezpiecznie usunąć.";
constexpr char16_t kUnknownTemporary[] =
    u"Pliki tymczasowe nieznanej aplikacji (brak danych o programie, który je tworzy). Zwykle są "
    u"zbędne, ale przed usunięciem sprawdź, czy nie należą do używanego programu.";
constexpr char16_t kVisualCppIntermediates[] =
    u"Pliki pośrednie środowiska Microsoft Visual C++ (ILK - konsolidacja przyrostowa, PCH - "
    u"prekompilowane nagłówki, NCB - baza ClassView, APS - dane edytora zasobów, BSC - dane "
    u"przeglądarki kodu). Są odtwarzane przy kolejnej kompilacji - można je usunąć.";
constexpr char16_t kAutosaves[] =
    u"Pliki automatycznego zapisu i kopii zapasowych (SVD, SVG, SVS) zapisywane przez niektóre "
    u"edytory w czasie pracy. UWAGA: rozszerzenie SVG ma także grafika wektorowa (Scalable Vector "
    u"Graphics) - takich rysunków nie należy usuwać !";
constexpr char16_t kHelpSearchIndexes[] =
    u"Pliki wyszukiwania pełnotekstowego pomocy Windows (FTS - indeks, FTG - grupy), tworzone przy "
    u"pierwszym użyciu zakładki Znajdź w pomocy HLP. Bezpieczne przy usuwaniu - zostaną "
    u"odtworzone, gdy będą potrzebne.";

// The name section: whole file names.
constexpr Row kByName[] = {
    {u"sample.mov", kSampleVideos, 100},
    {u"sample.wmv", kSampleVideos, 100},
    {u"shockwave log", u"Pliki LOG (bez rozszerzenia) programu Macromedia Flash Player", 100},
    {u"sample.asf", kSampleVideos, 100},
    {u"title.wma", kSampleMusic, 100},
    {u"segment1.swf", kXpTourSegments, 100},
    {u"segment2.swf", kXpTourSegments, 100},
    {u"segment3.swf", kXpTourSegments, 100},
    {u"segment4.swf", kXpTourSegments, 100},
    {u"segment5.swf", kXpTourSegments, 100},
    {u"nav.swf",
     u"Animowane menu (Macromedia Flash), z którego wybiera się części prezentacji systemu "
     u"Windows XP. Potrzebne tylko do oglądania prezentacji - można je usunąć.",
     100},
    {u"intro.swf",
     u"Animowany wstęp (Macromedia Flash) do prezentacji systemu Windows XP; plik o tej nazwie "
     u"mają też wstępy stron WWW i prezentacji innych programów. Do działania systemu nie jest "
     u"potrzebny - można go usunąć.",
     100},
    {u"wmpaud1.wav", kMediaPlayerTourSounds, 100},
    {u"wmpaud2.wav", kMediaPlayerTourSounds, 100},
    {u"wmpaud3.wav", kMediaPlayerTourSounds, 100},
    {u"wmpaud4.wav", kMediaPlayerTourSounds, 100},
    {u"wmpaud5.wav", kMediaPlayerTourSounds, 100},
    {u"wmpaud6.wav", kMediaPlayerTourSounds, 100},
    {u"wmpaud7.wav", kMediaPlayerTourSounds, 100},
    {u"wmpaud8.wav", kMediaPlayerTourSounds, 100},
    {u"wmpaud9.wav", kMediaPlayerTourSounds, 100},
    {u"copycd.wmv", kMediaPlayerTourVideos, 100},
    {u"mdlib.wmv", kMediaPlayerTourVideos, 100},
    {u"nuskin.wmv", kMediaPlayerTourVideos, 100},
    {u"rtuner.wmv", kMediaPlayerTourVideos, 100},
    {u"viz.wmv", kMediaPlayerTourVideos, 100},
    {u"music.wma", kSampleMusic, 100},
    {u"tour.exe",
     u"Program uruchamiający animowaną prezentację systemu Windows XP (Przewodnik po systemie "
     u"Windows XP). Jego usunięcie wyłącza tylko tę prezentację; plik o tej nazwie mają też "
     u"prezentacje innych programów, więc najpierw sprawdź jego lokalizację.",
     100},

    {u"cleanup.log",
     u"Dziennik (LOG) programu porządkującego dysk: zapis usuniętych plików i wykonanych "
     u"czynności. Można go bezpiecznie usunąć - program utworzy nowy przy następnym czyszczeniu.",
     90},

    {u"demo.mp3",
     u"Przykładowy utwór dołączany do odtwarzacza Winamp (krótkie nagranie \"Llama Whippin' "
     u"Intro\"). Do działania odtwarzacza nie jest potrzebny - można go bezpiecznie usunąć.",
     80},
    {u"technote.txt",
     u"Notatki techniczne dołączane przez producenta do programu (wymagania, znane problemy, "
     u"wskazówki do instalacji). Do działania programu nie są potrzebne - można je usunąć po "
     u"przeczytaniu.",
     80},

    {u"tour98.exe", kWindows98Welcome, 70},
    {u"welcome.exe", kWindows98Welcome, 70},
    {u"welcom98.wav", kWindows98Welcome, 70},
    {u"scandisk.log",
     u"Pliki tymczasowe programu Scan Disk (log o przebiegu naprawy błędów logicznych dysku)", 70},
    {u"dkeventlog.log",
     u"Dziennik zdarzeń programu do defragmentacji dysków Diskeeper (zapis przebiegu "
     u"defragmentacji i napotkanych błędów). Można go usunąć - program założy nowy.",
     70},
    {u"avvirus.log", kNortonAntiVirusLogs, 70},
    {u"avapp.log", kNortonAntiVirusLogs, 70},

    {u"account.log", u"Plik LOG menedżera poczty The Bat!", 60},

    {u"mscreate.dir",
     u"Pusty plik znacznikowy, który instalatory firmy Microsoft (m.in. pakietu Microsoft Office) "
     u"zapisują w założonych przez siebie folderach - po nim deinstalator poznaje folder do "
     u"usunięcia. Można go usunąć; deinstalator może wtedy zostawić pusty folder.",
     50},

    {u"realplayer.ste",
     u"Plik stanu (STE) odtwarzacza RealPlayer z danymi zapamiętanymi między uruchomieniami. "
     u"Usuwaj go przy zamkniętym odtwarzaczu; RealPlayer może wtedy stracić część zapamiętanych "
     u"ustawień.",
     40},
    {u"getright.hst",
     u"Historia pobierania menedżera GetRight (lista pobranych plików i ich adresów). Usunięcie "
     u"czyści tylko tę historię - można usuwać bezpiecznie.",
     40},
    {u"vplayerini.vpl",
     u"Plik ustawień lub listy odtwarzania (VPL) odtwarzacza wideo. Po usunięciu odtwarzacz wróci "
     u"do ustawień domyślnych lub straci zapamiętaną listę; w razie wątpliwości najpierw sprawdź "
     u"jego zawartość.",
     40},
    {u"avpcccfg.log",
     u"Dziennik (LOG) Centrum sterowania programu antywirusowego Kaspersky Anti-Virus (AVP "
     u"Control Centre) z zapisem zmian jego konfiguracji. Można go usunąć - program założy nowy.",
     40},

    {u"leech.hst",
     u"Historia pobierania menedżera pobierania plików Leech (lista pobranych plików i ich "
     u"adresów). Usunięcie czyści tylko historię - można usuwać bezpiecznie.",
     30},
    {u"ghosterr.txt",
     u"Raport błędu zapisywany przez program Norton Ghost, gdy tworzenie lub odtwarzanie obrazu "
     u"dysku się nie powiedzie. Przydaje się tylko do ustalenia przyczyny błędu - potem można go "
     u"usunąć.",
     30},
    {u"debug.nfo",
     u"Plik z informacjami diagnostycznymi (debug) zapisany przez program lub jego instalator. "
     u"Przydaje się tylko przy szukaniu przyczyny błędu - poza tym można go usunąć.",
     30},
    {u"logentries",
     u"Plik (bez rozszerzenia) z wpisami dziennika programu - zapis wykonanych czynności. Zwykle "
     u"można go usunąć; w razie wątpliwości sprawdź najpierw, do jakiego programu należy jego "
     u"folder.",
     30},

    {u"yplayer.ypl",
     u"Lista odtwarzania odtwarzacza YPlayer - zawiera tylko ścieżki do utworów, a nie same "
     u"utwory. Usunięcie kasuje zapamiętaną listę; można usuwać, jeśli nie jest potrzebna.",
     20},
    {u"xingmp3player.xpl",
     u"Lista odtwarzania odtwarzacza Xing MP3 Player - zawiera tylko ścieżki do utworów, a nie "
     u"same utwory. Po usunięciu odtwarzacz zacznie z pustą listą.",
     20},
    {u"syslog.log",
     u"Dziennik zdarzeń (LOG) zapisywany przez program narzędziowy lub usługę działającą w tle. "
     u"Zwykle zbędny; przed usunięciem można go przejrzeć, jeśli szukasz przyczyny błędu.",
     20},
    {u"xplite.log",
     u"Dziennik programu XPlite (do usuwania składników systemu Windows XP) z zapisem usuniętych "
     u"i przywróconych składników. Przydaje się do sprawdzenia, co zostało usunięte - poza tym "
     u"można go usunąć.",
     20},
    {u"foxmail.msg",
     u"Plik wiadomości programu pocztowego Foxmail. Przed usunięciem sprawdź w programie Foxmail, "
     u"czy nie zawiera potrzebnej wiadomości.",
     20},
};

// The extension section: extensions with their leading dot.
constexpr Row kByExtension[] = {
    {u".ico",
     u"Ikony stron WWW (favicon) zapisane w folderze Temporary Internet Files przez przeglądarkę "
     u"Internet Explorer. Z tego folderu bezpieczne przy usuwaniu - ikony w innych folderach mogą "
     u"należeć do programów !",
     100},
    {u".~~c", kTildeTemporary, 100},
    {u".~~w", kTildeTemporary, 100},
    {u".~~d", kTildeTemporary, 100},
    {u".class",
     u"Podejrzane niebezpieczne pliki internetowe. Mogą zawierać kod wirusa. (TYLKO tymczasowe "
     u"pliki CLASS z folderu Temporary Internet Files)",
     100},
    {u".pf",
     u"Pliki funkcji Prefetch systemu Windows XP (folder Prefetch) - zapis plików wczytywanych "
     u"przy starcie systemu i programów, który przyspiesza ich uruchamianie. Można je usunąć; "
     u"system odtworzy je sam, ale pierwsze uruchomienia będą wtedy nieco wolniejsze.",
     100},
    {u".gif",
     u"Obrazki GIF ze stron WWW zapisane w folderze Temporary Internet Files. Tylko z tego folderu "
     u"są bezpieczne przy usuwaniu - w innych miejscach mogą to być Twoje obrazy !",
     100},
    {u".txt",
     u"Pliki tekstowe - raporty, dzienniki, notatki i opisy dołączane do programów. Zbędne są "
     u"tylko te, które filtr rozpoznał jako niepotrzebne; przed usunięciem warto je przejrzeć.",
     100},
    {u".db",
     u"Pliki bazy danych; najczęściej Thumbs.db - pamięć podręczna miniatur obrazów, którą "
     u"Eksplorator Windows zapisuje w folderach z obrazami (system odtworzy ją sam). Inne pliki DB "
     u"mogą zawierać dane programów - należy zachować ostrożność !",
     100},
    {u".log",
     u"Pliki LOG są używane do zapisów przeprowadzonych czynności, prowadzenia dziennika skanowań, "
     u"zmian, zdarzeń, itp. Mozna usuwać, ale TYLKO niektóre typy plików LOG. Dla doświadczonych "
     u"użytkowników.",
     100},
    {u".x7",
     u"Plik o nietypowym rozszerzeniu X7 z folderu Temporary Internet Files, pobrany przez "
     u"przeglądarkę podczas oglądania stron. Stamtąd jest zbędny; poza tym folderem należy go "
     u"najpierw sprawdzić.",
     100},
    {u".php",
     u"Strony PHP pobrane z serwera WWW i zapisane w folderze Temporary Internet Files. Stamtąd "
     u"bezpieczne przy usuwaniu; pliki PHP w innych folderach mogą być częścią stron lub programów "
     u"!",
     100},
    {u".swf",
     u"Animacje Macromedia Flash (SWF) - banery i animacje ze stron WWW zapisane w folderze "
     u"Temporary Internet Files lub prezentacje dołączane do programów. Z folderu Temporary "
     u"Internet Files można je bezpiecznie usuwać.",
     100},
    {u".bckp",
     u"Pliki kopii zapasowej (BCKP - od ang. backup) zapisywane przez programy przed zmianą "
     u"oryginalnego pliku. Można je usunąć, jeśli oryginał działa poprawnie.",
     100},
    {u".evt",
     u"Pliki dziennika zdarzeń systemu Windows NT/2000/XP (Podgląd zdarzeń: aplikacja, "
     u"zabezpieczenia, system). Dzienniki używane przez system są zablokowane i nie zostaną "
     u"usunięte; zapisane kopie dzienników można usunąć, gdy nie są potrzebne.",
     100},
    {u".js",
     u"Skrypty JavaScript ze stron WWW zapisane w folderze Temporary Internet Files - mogą "
     u"zawierać szkodliwy kod. Z tego folderu bezpieczne przy usuwaniu; skrypty JS w innych "
     u"folderach mogą należeć do programów.",
     100},
    {u".tmp", kTemporary, 100},
    {u".temp", kTemporary, 100},
    {u".dmp", kTemporary, 100},
    {u".chk",
     u"Odzyskane fragmenty plików zapisane przez programy ScanDisk i CHKDSK (np. FILE0000.CHK) "
     u"podczas naprawy błędów dysku. Zwykle nie da się z nich nic odtworzyć - można je bezpiecznie "
     u"usunąć.",
     100},
    {u"._dd",
     u"Pliki tymczasowe instalatorów (np. FILE0001._DD), zwykle pozostawione po rozpakowaniu "
     u"instalowanych plików. Po zakończonej instalacji są zbędne - można je usunąć.",
     100},
    {u".gid",
     u"Pliki indeksu pomocy systemu Windows (GID), tworzone przy pierwszym otwarciu pliku pomocy "
     u"HLP. Bezpieczne przy usuwaniu - Windows odtworzy je przy następnym otwarciu pomocy.",
     100},
    {u".cnt",
     u"Pliki spisu treści pomocy systemu Windows (CNT), towarzyszące plikom pomocy HLP. Po "
     u"usunięciu pomoc nadal działa, ale bez spisu treści; usuwaj je tylko wtedy, gdy pomoc danego "
     u"programu nie jest potrzebna.",
     100},
    {u".old", kBackups, 100},
    {u".bak", kBackups, 100},
    {u".bac", kBackups, 100},
    {u".backup", kBackups, 100},

    {u".chw", kHtmlHelpIndexes, 70},
    {u".chq", kHtmlHelpIndexes, 70},
    {u".rept", kBracedReports, 70},
    {u".reph", kBracedReports, 70},
    {u".repi", kBracedReports, 70},
    {u".i0000", kNumberedTemporary, 70},
    {u".i0001", kNumberedTemporary, 70},
    {u".i0100", kNumberedTemporary, 70},
    {u".i0101", kNumberedTemporary, 70},
    {u".i0110", kNumberedTemporary, 70},
    {u".i0200", kNumberedTemporary, 70},
    {u".i0201", kNumberedTemporary, 70},
    {u".i0210", kNumberedTemporary, 70},
    {u".met",
     u"Pliki opisu niedokończonych pobrań programów eMule i eDonkey2000 (np. 001.part.met) - "
     u"zapis postępu pobierania pliku PART. Usuwaj je tylko wtedy, gdy pobieranie zostało "
     u"anulowane: ich usunięcie przerywa pobieranie bezpowrotnie.",
     70},
    {u".lgc", kSetupLogs, 70},
    {u".lgd", kSetupLogs, 70},
    {u".lge", kSetupLogs, 70},
    {u".reg",
     u"Pliki rejestru (REG) - kopie zapasowe rejestru zapisywane przez programy czyszczące i "
     u"optymalizujące rejestr (m.in. JV16 PowerTools) przed wprowadzeniem zmian. Jeśli system "
     u"działa poprawnie, można je usunąć. UWAGA: dwukrotne kliknięcie takiego pliku wpisuje jego "
     u"zawartość do rejestru !",
     70},
    {u".vbs", kScripts, 70},
    {u".vbe", kScripts, 70},
    {u".err",
     u"Raporty błędów zapisywane przez programy, gdy ich działanie zakończy się błędem. Potrzebne "
     u"tylko do ustalenia przyczyny błędu - później można je bezpiecznie usunąć.",
     70},
    {u".rpt",
     u"Raporty (RPT) zapisywane przez programy, m.in. z wynikami skanowania lub diagnostyki. "
     u"Można je usuwać. UWAGA: rozszerzenie RPT mają też szablony raportów programu Crystal "
     u"Reports - te należy zachować !",
     70},

    {u".###", kOddSignTemporary, 60},
    {u".___", kOddSignTemporary, 60},
    {u".---", kOddSignTemporary, 60},
    {u".nu3", kNortonUtilitiesBackups, 60},
    {u".nu4", kNortonUtilitiesBackups, 60},
    {u".mrp",
     u"Pliki raportów (MRP) zapisywane przez programy narzędziowe z wynikami ich pracy. Zwykle "
     u"można je usunąć; w razie wątpliwości sprawdź najpierw, jaki program je utworzył.",
     60},
    {u".dtf",
     u"Pliki danych (DTF) zapisywane przez różne programy, często jako pliki pośrednie. To samo "
     u"rozszerzenie mają też bazy danych (m.in. programu Symantec Q&A), dlatego przed usunięciem "
     u"sprawdź, do jakiego programu plik należy.",
     60},
    {u".ddf",
     u"Pliki opisu danych (DDF) - m.in. pliki poleceń programu MakeCAB do tworzenia archiwów CAB "
     u"oraz słowniki baz danych Btrieve/Pervasive. Pliki poleceń po spakowaniu są zbędne, ale "
     u"słowników baz danych NIE wolno usuwać - należy zachować ostrożność !",
     60},

    {u".rel",
     u"Pliki raportów (REL) zapisywane przez programy o przebiegu ich pracy. Zwykle zbędne. "
     u"UWAGA: rozszerzenie REL mają też pliki pośrednie niektórych kompilatorów - przed usunięciem "
     u"sprawdź folder.",
     50},
    {u".plm", u"Pliki LOG programu usuwającego pliki tymczasowe - Pylomir`a  ;)", 50},

    {u".~bpl", kBorlandBackups, 40},
    {u".~cpp", kBorlandBackups, 40},
    {u".~h", kBorlandBackups, 40},
    {u".~dpk", kBorlandBackups, 40},
    {u".~dpr", kBorlandBackups, 40},
    {u".~dfm", kBorlandBackups, 40},
    {u".~pas", kBorlandBackups, 40},
    {u".ion",
     u"Plik opisów plików (DESCRIPT.ION), w którym Total Commander, 4DOS, ACDSee i inne programy "
     u"przechowują komentarze do plików folderu. Po usunięciu opisy znikną; usuwaj go, jeśli ich "
     u"nie używasz.",
     40},
    {u".nch",
     u"Pliki NCH - pamięć wiadomości i folderów, którą zapisywały starsze wersje programu Outlook "
     u"Express (m.in. dla grup dyskusyjnych). Po przejściu na nowszą wersję programu są zbędne; "
     u"przed usunięciem upewnij się, że nie zawierają potrzebnych wiadomości.",
     40},
    {u".nmx",
     u"Kopie zapasowe miksów (MIXBACKUP*.NMX) zapisywane automatycznie przez program do miksowania "
     u"muzyki. Zawierają poprzednie wersje miksu; jeśli bieżący miks jest w porządku, można je "
     u"usunąć.",
     40},
    {u".cyp", kUnknownTemporary, 40},
    {u".fix", kUnknownTemporary, 40},
    {u".sc0", kUnknownTemporary, 40},
    {u".bor", kUnknownTemporary, 40},
    {u".cb", kUnknownTemporary, 40},
    {u".ubk", kUnknownTemporary, 40},
    {u".vir",
     u"Pliki zainfekowane, którym program antywirusowy zmienił rozszerzenie na VIR, aby nie dało "
     u"się ich uruchomić. Zawierają kod wirusa - zaleca się je usunąć (nie należy ich uruchamiać "
     u"ani otwierać).",
     40},
    {u".mks",
     u"Pliki kopii zapasowej, które zapisuje m.in. polski program antywirusowy mks_vir. Jeśli "
     u"pliki, których dotyczą, działają poprawnie, można je usunąć; w razie wątpliwości sprawdź "
     u"najpierw ich folder.",
     40},

    {u".mdb",
     u"Bazy danych Microsoft Access (MDB). Zbędne są tylko kopie zapasowe baz zapisywane przez "
     u"programy (pliki ze słowem BACKUP w nazwie); inne pliki MDB zawierają dane programów - NIE "
     u"usuwaj ich bez sprawdzenia !",
     30},
    {u".svd", kAutosaves, 30},
    {u".svg", kAutosaves, 30},
    {u".svs", kAutosaves, 30},
    {u".sik",
     u"Kopie zapasowe (SIK - od niem. Sicherungskopie) zapisywane przez programy w wersjach "
     u"niemieckich. Zawierają poprzednią wersję pliku - jeśli oryginał jest w porządku, można je "
     u"usunąć.",
     30},
    {u".bsc", kVisualCppIntermediates, 30},
    {u".shs",
     u"Fragmenty dokumentów (Shell Scrap, SHS) systemu Windows, tworzone przez przeciągnięcie "
     u"zaznaczenia na pulpit. Mogą ukrywać kod wirusa; z folderu Temporary Internet Files można je "
     u"bezpiecznie usunąć.",
     30},
    {u".scl",
     u"Pliki kopii zapasowej lub zapisu stanu (SCL) o jednoznakowej nazwie, zapisywane przez "
     u"programy w czasie pracy. Zwykle zbędne, ale rozszerzenie SCL mają też inne dane (np. skale "
     u"muzyczne) - przed usunięciem sprawdź, do jakiego programu należą.",
     30},
    {u".q1b",
     u"Kopie zapasowe rejestru lub ustawień (Q1B) zapisywane przez programy optymalizujące system "
     u"przed wprowadzeniem zmian. Jeśli system po zmianach działa poprawnie, można je usunąć.",
     30},
    {u".rsm",
     u"Pliki symboli zdalnego debugowania (RSM) tworzone przez Borland Delphi i C++Builder przy "
     u"kompilacji. Zostaną utworzone ponownie przy następnej kompilacji - można je usunąć.",
     30},
    {u".sbk",
     u"Pliki kopii zapasowej (SBK) zapisywane przez programy przed zmianą pliku. Zwykle można je "
     u"usunąć, ale rozszerzenie SBK mają też banki dźwięków kart Sound Blaster AWE - przed "
     u"usunięciem sprawdź plik.",
     30},
    {u".xml",
     u"Pliki XML - dane i ustawienia programów zapisane jako tekst (np. MSSECURE.XML, dane o "
     u"poprawkach pobierane przez Microsoft Baseline Security Analyzer). Zbędne są tylko pobrane "
     u"kopie i raporty; inne pliki XML mogą być potrzebne programom - należy zachować ostrożność "
     u"!",
     30},
    {u".xlk",
     u"Kopie zapasowe skoroszytów programu Microsoft Excel (opcja \"Zawsze twórz kopię "
     u"zapasową\"). Zawierają poprzednią wersję skoroszytu - jeśli nie jest potrzebna, można je "
     u"usunąć.",
     30},
    {u".azp",
     u"Pliki kopii zapasowej (AZP) zapisywane przez programy przed zmianą danych. Zwykle można je "
     u"usunąć, gdy oryginał działa poprawnie; w razie wątpliwości sprawdź najpierw, jaki program "
     u"je utworzył.",
     30},
    {u".wbk",
     u"Kopie zapasowe dokumentów programu Microsoft Word (opcja \"Zawsze twórz kopię "
     u"zapasową\"). Zawierają poprzednią wersję dokumentu - jeśli nie jest potrzebna, można je "
     u"usunąć.",
     30},
    {u".rcb",
     u"Pliki kopii zapasowej (RCB) nieznanego pochodzenia - zwykle poprzednia wersja pliku "
     u"zapisana przez program przed zmianą. Przed usunięciem sprawdź, czy w tym samym folderze "
     u"jest oryginał.",
     30},
    {u".ilk", kVisualCppIntermediates, 30},
    {u".aps", kVisualCppIntermediates, 30},
    {u".ncb", kVisualCppIntermediates, 30},
    {u".pch", kVisualCppIntermediates, 30},
    {u".ftg", kHelpSearchIndexes, 30},
    {u".fts", kHelpSearchIndexes, 30},

    {u".w40",
     u"Kopie zapasowe (W40) zapisywane przez programy przed zmianą pliku. Przed usunięciem "
     u"sprawdź, czy oryginał jest w porządku.",
     20},
    {u".q",
     u"Pliki kopii zapasowej (Q) zapisywane przez programy w czasie pracy. Pliki z jednoliterowym "
     u"rozszerzeniem bywają też danymi programów - przed usunięciem sprawdź, jaki program je "
     u"utworzył.",
     20},
    {u".csv",
     u"Pliki tekstowe z danymi rozdzielonymi przecinkami (CSV), np. dzienniki programów zapisane "
     u"w tej postaci (MASTERLOG.CSV). Zbędne są tylko takie dzienniki; inne pliki CSV mogą "
     u"zawierać Twoje dane (np. z arkusza Microsoft Excel) - sprawdź je przed usunięciem.",
     20},
    {u".zip",
     u"Archiwa ZIP; wśród plików tymczasowych są to kopie zapasowe zapisywane automatycznie przez "
     u"programy (z datą w nazwie). Inne archiwa ZIP mogą zawierać Twoje pliki - przed usunięciem "
     u"sprawdź ich zawartość.",
     20},
    {u".jbf",
     u"Pamięć podręczna miniatur przeglądarki programu Jasc Paint Shop Pro (PSPBRWSE.JBF) w "
     u"folderach z obrazami. Bezpieczna przy usuwaniu - Paint Shop Pro odtworzy ją przy następnym "
     u"przeglądaniu folderu.",
     20},
    {u".mtx",
     u"Tymczasowe pliki obsługi skanerów i aparatów (TWAIN????.MTX) zapisywane przez system "
     u"Windows. Mogą być w użyciu podczas skanowania - usuwaj je, gdy żaden skaner ani program "
     u"graficzny nie pracuje.",
     20},
    {u".nav",
     u"Pliki kopii zapasowej z rozszerzeniem NAV (skrót używany m.in. przez Norton AntiVirus). "
     u"Zawierają kopie plików sprzed zmian; jeśli nie są już potrzebne, można je usunąć - w razie "
     u"wątpliwości najpierw sprawdź folder.",
     20},

    {u".ssb",
     u"Pliki kopii zapasowej (SSB) zapisywane przez programy przed nadpisaniem danych. Jeśli "
     u"oryginał działa poprawnie, można je usunąć; w razie wątpliwości najpierw je sprawdź.",
     10},
    {u".cdr_",
     u"Najpewniej kopia zapasowa rysunku programu CorelDRAW (CDR) zapisana przed nadpisaniem "
     u"oryginału. Sprawdź, czy oryginalny plik CDR otwiera się poprawnie - potem można ją usunąć.",
     10},
    {u".sud",
     u"Pliki kopii zapasowej (SUD) o dwuznakowej nazwie, zapisywane przez programy w czasie pracy. "
     u"Brak pewnych danych o programie, który je tworzy - przed usunięciem sprawdź ich folder.",
     10},
    {u".arp",
     u"Automatyczne kopie zapasowe (AUTOMATIC*.ARP) zapisywane przez program w czasie pracy. "
     u"Zawierają poprzedni stan danych; jeśli nie jest potrzebny, można je usunąć.",
     10},
    {u".cln",
     u"Dzienniki (CLN) programów czyszczących z listą usuniętych lub naprawionych elementów. "
     u"Przydają się tylko do sprawdzenia, co zostało usunięte - poza tym można je usunąć.",
     10},
    {u".cpy",
     u"Kopie plików (CPY) zapisywane przez programy przed zmianą oryginału. Zwykle zbędne. "
     u"UWAGA: rozszerzenie CPY mają też pliki źródłowe języka COBOL - takich nie należy usuwać !",
     10},
    {u".ctrl",
     u"Pliki kopii zapasowej lub sterujące (CTRL) zapisywane przez programy w czasie pracy. Brak "
     u"pewnych danych o programie, który je tworzy - przed usunięciem sprawdź ich folder.",
     10},
    {u".pk",
     u"Pliki obrazu fali dźwięku (PK) zapisywane przez Adobe Audition (dawniej Cool Edit) obok "
     u"plików audio, aby szybciej je wyświetlać - program je odtworzy, można je usunąć. UWAGA: "
     u"rozszerzenie PK mają też czcionki systemu TeX.",
     10},
    {u".alt",
     u"Pliki alternatywne (ALT), m.in. SYSTEM.ALT - zapasowa kopia gałęzi rejestru w systemach "
     u"Windows NT/2000. Dopóki system działa poprawnie, nie są używane, ale stanowią "
     u"zabezpieczenie - usuwaj je z rozwagą.",
     10},
    {u".cor",
     u"Pliki (COR) zapisywane przez nieznany program; brak pewnych danych o ich pochodzeniu i "
     u"zawartości. Przed usunięciem sprawdź, w jakim folderze leżą i do czego służą.",
     10},

    {u".sys", kSuspectExtension, 0},
    {u".dll", kSuspectExtension, 0},
    {u".ini", kSuspectExtension, 0},
    {u".vxd", kSuspectExtension, 0},
    {u".dat", kSuspectExtension, 0},
    {u".cfg", kSuspectExtension, 0},
    {u".ax", kSuspectExtension, 0},
    {u".ocx", kSuspectExtension, 0},
    {u".lic", kSuspectExtension, 0},
    {u".bin", kSuspectExtension, 0},
    {u".drv", kSuspectExtension, 0},
    {u".inf", kSuspectExtension, 0},
    {u".com", kSuspectExtension, 0},
    {u".nt", kSuspectExtension, 0},
};

// The texts point at static storage, so no copy is made.
QString staticText(const char16_t* text) {
    const QStringView view(text);
    return QString::fromRawData(view.constData(), view.size());
}

QList<KnownFileType> section(std::span<const Row> rows) {
    QList<KnownFileType> out;
    out.reserve(qsizetype(rows.size()));
    for (const Row& row : rows)
        out.append({staticText(row.key), staticText(row.description), row.frequency});
    return out;
}

} // namespace

const KnownFileTypes& knownFileTypes() {
    static const KnownFileTypes table{section(kByName), section(kByExtension)};
    return table;
}

const KnownFileType& unknownFileType() {
    static const KnownFileType row{
        QString(),
        QStringLiteral("Brak informacji o typie pliku. W razie wątpliwości należy zrobić kopię "
                       "zapasową pliku lub sprawdzić opis w \"Opisy filtrów\""),
        0};
    return row;
}

const KnownFileType& lookUpKnownType(QStringView name, QStringView extension) {
    const KnownFileTypes& table = knownFileTypes();
    for (const KnownFileType& row : table.byName) {
        if (row.key == name)
            return row;
    }
    for (const KnownFileType& row : table.byExtension) {
        if (row.key == extension)
            return row;
    }
    return unknownFileType();
}

} // namespace pylomir::assess
