#include "assess/filter_descriptions.h"

#include "platform/locale_formats.h"

#include <algorithm>

namespace pylomir::assess {

namespace {

// Rows for masks the program lists but does not act on carry one of two
// marks before the description proper.
enum class Mark { None, NotHandled, NotHandledQuiet };

struct Row {
    const char* mask;
    int category; // FilterCategory's number
    Mark mark;
    const char* text; // UTF-8, without the mark
};

constexpr Mark N = Mark::None;
constexpr Mark X = Mark::NotHandled;
constexpr Mark Q = Mark::NotHandledQuiet;

const char kNotHandledPrefix[] = "-> Nie obsługiwane ! / ";
const char kNotHandledQuietPrefix[] = "-> Nie obsługiwane / ";
const char kNotHandledStart[] = "-> Nie obsługiwane";

// The stored order, which the tab shows until the user sorts it. A "?" is
// written \? where two of them would otherwise make a trigraph.
constexpr Row kRows[] = {
    {"*.tmp", 1, N, "Pliki tymczasowe tworzne przez różne aplikacje"},
    {"*.bak", 3, N,
     "Kopie zapasowe plików tworzone przez edytory i wiele innych aplikacji przed zapisaniem "
     "zmian. Można usunąć, jeśli oryginalny plik jest sprawny"},
    {"*.old", 3, N,
     "Poprzednie wersje plików (najczęściej ustawień) zachowane przez instalatory i aplikacje "
     "przy aktualizacji. Można usunąć, gdy nowa wersja działa poprawnie"},
    {"*.temp", 1, N,
     "Pliki tymczasowe tworzone przez różne aplikacje (inny zapis rozszerzenia TMP). Bezpieczne "
     "przy usuwaniu, gdy aplikacja jest zamknięta"},
    {"*.~*", 1, N,
     "Pliki tymczasowe i kopie robocze z tyldą na początku rozszerzenia (m.in. Borland Delphi i "
     "C++Builder: *.~pas, *.~dfm). Zwykle bezpieczne przy usuwaniu"},
    {"~*.*", 1, N,
     "Pliki tymczasowe z tyldą na początku nazwy (np. ~WRL0001.tmp programu Microsoft Word, "
     "pliki blokady ~$ dokumentów pakietu Office). Nie usuwać, gdy dokument jest otwarty"},
    {"*.??$", 1, N,
     "Pliki z rozszerzeniem zakończonym znakiem $, zwykle pozostałości po instalatorach "
     "programów (np. *.ex$, *.dl$). Zazwyczaj bezpieczne przy usuwaniu"},
    {"*.?~?", 1, N,
     "Kopie robocze z tyldą w środku rozszerzenia, tworzone przez niektóre edytory przy "
     "zapisie pliku. Zwykle bezpieczne przy usuwaniu"},
    {"*.gid", 1, N,
     "Pliki indeksu Pomocy systemu Windows (WinHelp), tworzone przy pierwszym otwarciu pliku HLP. "
     "Bezpieczne przy usuwaniu - Pomoc odtworzy je przy następnym otwarciu"},
    {"*.fts", 2, N,
     "Pliki indeksu wyszukiwania pełnotekstowego Pomocy systemu Windows (Full Text Search). "
     "Odtwarzane przy następnym wyszukiwaniu w Pomocy"},
    {"*.ftg", 2, N,
     "Pliki grup wyszukiwania pełnotekstowego Pomocy systemu Windows (Full Text Group). "
     "Odtwarzane przy następnym wyszukiwaniu w Pomocy"},
    {"chklist.*", 1, N,
     "Pliki sum kontrolnych zapisywane przez programy antywirusowe (chklist.ms programu Microsoft "
     "Anti-Virus, chklist.cps programu Central Point Anti-Virus). Odtwarzane przy skanowaniu"},
    {"*.chk", 1, N,
     "Fragmenty plików odzyskane przez ScanDisk lub CHKDSK (np. FILE0000.CHK w folderze "
     "FOUND.000). Zwykle bezużyteczne, można usunąć"},
    {"file????._dd", 1, N,
     "Pliki tymczasowe pozostawione najprawdopodobniej przez instalatory i narzędzia systemowe "
     "Windows 9x. Zwykle bezpieczne przy usuwaniu"},
    {"*log.txt", 5, N,
     "Pliki tekstowe dzienników (LOG) zapisywane przez instalatory i różne aplikacje. Zwykle "
     "niepotrzebne po zakończeniu pracy programu"},
    {"runonceex.txt", 6, X,
     "Plik tekstowy związany z mechanizmem RunOnceEx systemu Windows (zadania wykonywane "
     "jednorazowo po instalacji), pozostawiany przez niektóre instalatory"},
    {"scandisk.log", 5, N,
     "Log programu ScanDisk z przebiegu sprawdzania i naprawy błędów dysku. Bezpieczny przy "
     "usuwaniu"},
    {"copying.*", 6, N,
     "Plik z tekstem licencji dołączany do programów (najczęściej GNU GPL). Tylko informacja - "
     "usunięcie nie wpływa na działanie programu"},
    {"tips.txt", 6, X, "Plik tekstowy z poradami wyświetlanymi przy uruchamianiu programu"},
    {"readme.*", 6, X,
     "Plik informacyjny dołączany do programu (opis, instrukcja instalacji, uwagi autora)"},
    {"insta*.txt", 6, X, "Plik tekstowy z instrukcją instalacji programu (np. install.txt)"},
    {"histor*.txt", 6, N,
     "Plik tekstowy z historią zmian w kolejnych wersjach programu. Tylko informacja, bezpieczny "
     "przy usuwaniu"},
    {"order.*", 6, X, "Plik z formularzem zamówienia lub rejestracji programu shareware"},
    {"r?port.txt", 5, N,
     "Potencjalnie niepotrzebny (raporty programów, filtr rozpoznaje także nazwy angielskie: "
     "'report')"},
    {"manual.htm", 6, X, "Instrukcja obsługi programu w postaci strony HTML"},
    {"about.htm", 6, X, "Strona HTML z informacjami o programie i jego autorze"},
    {"about.txt", 6, X, "Plik tekstowy z informacjami o programie i jego autorze"},
    {"file_id.diz", 6, X,
     "Krótki opis programu lub archiwum (Description In Zip), dołączany do programów "
     "rozpowszechnianych w sieci i w serwisach BBS"},
    {"whatsnew.*", 6, X, "Plik z opisem nowości i zmian w bieżącej wersji programu"},
    {"register.*", 6, X, "Plik z informacjami o rejestracji programu lub formularz rejestracyjny"},
    {"*site.*", 2, X,
     "Skróty i pliki odnośników do stron internetowych producentów programów (np. website.url)"},
    {"*nowego.*", 6, X, "Plik z opisem nowości w polskich wersjach programów (np. co_nowego.txt)"},
    {"czytaj*.txt", 6, X,
     "Plik informacyjny polskich wersji programów (odpowiednik README, np. czytaj.txt)"},
    {"faq.txt", 6, X, "Plik z odpowiedziami na najczęściej zadawane pytania o program (FAQ)"},
    {"*.nfo", 6, X,
     "Plik informacyjny dołączany do programów i wydań (opis, autorzy, instrukcje); to samo "
     "rozszerzenie ma zapis programu Informacje o systemie firmy Microsoft"},
    {"*.---", 1, N,
     "Kopie zapasowe i pliki tymczasowe z rozszerzeniem z samych myślników, tworzone przez "
     "instalatory i niektóre edytory. Zwykle bezpieczne przy usuwaniu"},
    {"*.___", 1, N,
     "Pliki tymczasowe z rozszerzeniem z samych podkreśleń, pozostawiane przez instalatory i "
     "programy narzędziowe. Zwykle bezpieczne przy usuwaniu"},
    {"*.??&", 1, N,
     "Pliki tymczasowe z rozszerzeniem zakończonym znakiem &, tworzone przez niektóre aplikacje "
     "przy zapisie. Zwykle bezpieczne przy usuwaniu"},
    {"*.&*", 1, X, "Pliki tymczasowe z rozszerzeniem zaczynającym się znakiem &"},
    {"*.?\?!", 1, X,
     "Pliki niepełne lub tymczasowe z rozszerzeniem zakończonym wykrzyknikiem (np. *.bc! - "
     "pobierane pliki programu BitComet)"},
    {"*.###", 1, N,
     "Pliki tymczasowe tworzone przez instalatory i programy narzędziowe (np. kopie robocze przy "
     "aktualizacji). Zwykle bezpieczne przy usuwaniu"},
    {"*.^*", 1, N,
     "Pliki tymczasowe z rozszerzeniem zaczynającym się znakiem ^, tworzone przez niektóre "
     "aplikacje. Zwykle bezpieczne przy usuwaniu"},
    {"*.ctrl", 3, N,
     "Pliki kontrolne i kopie stanu tworzone przez niektóre programy (Brak dokładnych danych o "
     "typie programu)"},
    {"*.azp", 3, N,
     "Kopie zapasowe tworzone przez niektóre programy archiwizujące (Brak dokładnych danych o "
     "typie programu)"},
    {"*.pk", 3, N,
     "Pliki szczytów dźwięku (peak) programów Adobe Premiere i After Effects. Pamięć podręczna - "
     "program odtworzy je przy otwarciu projektu"},
    {"*.nu3", 3, N,
     "Kopie zapasowe pakietu Norton Utilities (najprawdopodobniej dane do cofnięcia zmian po "
     "naprawie dysku). Można usunąć, gdy dysk działa poprawnie"},
    {"pspbrwse.jbf", 3, N,
     "Plik miniatur przeglądarki programu Paint Shop Pro (Jasc). Program odtworzy go przy "
     "ponownym przeglądaniu folderu"},
    {"0*.nch", 3, N,
     "Pliki folderów i grup dyskusyjnych programu Outlook Express 4 (stary format). Nie usuwać, "
     "jeśli program jest wciąż używany"},
    {"foxmail.msg", 3, N,
     "Plik wiadomości programu pocztowego Foxmail. Przed usunięciem upewnić się, że poczta nie "
     "jest potrzebna"},
    {"*.mrp", 5, N,
     "Pliki raportów tworzone przez niektóre programy (Brak dokładnych danych o typie programu)"},
    {"*.scb", 0, N, "Pliki tymczasowe programu (Brak danych o typie programu)"},
    {"*.bckp", 3, N,
     "Kopie zapasowe plików tworzone przez różne aplikacje (skrót od backup). Można usunąć, "
     "jeśli oryginał jest sprawny"},
    {"*.vir", 1, N,
     "Pliki zainfekowane, przemianowane przez program antywirusowy (np. Norton AntiVirus). "
     "Usunięcie jest bezpieczne i zalecane"},
    {"*.ion", 1, N,
     "Pliki opisów plików w folderze (descript.ion) menedżerów plików 4DOS i Total Commander. "
     "Zawierają tylko komentarze"},
    {"thumbs.db", 1, N,
     "Pamięć podręczna miniatur obrazów w folderze, tworzona przez Eksplorator Windows. "
     "Bezpieczna przy usuwaniu - zostanie odtworzona"},
    {"*._mp", 0, N,
     "Pliki tymczasowe nieznanej aplikacji (Brak danych o typie programu). Zwykle bezpieczne "
     "przy usuwaniu"},
    {"mscreate.dir", 1, N,
     "Pusty plik znacznika tworzony przez instalatory firmy Microsoft w folderach programów. Nie "
     "jest potrzebny do działania programów"},
    {"twain????.mtx", 4, N, "Tymczasowe pliki TWAIN systemu (m.in. XP)"},
    {"iebak.dat", 2, N,
     "Plik kopii zapasowej tworzony przy instalacji przeglądarki Internet Explorer (dane do "
     "przywrócenia poprzedniej wersji). Po usunięciu cofnięcie aktualizacji może być "
     "niemożliwe"},
    {"ffastun.*", 4, N,
     "Pliki indeksu Szybkiego wyszukiwania (Find Fast) pakietu Microsoft Office. Usuwać tylko "
     "przy wyłączonym Find Fast - inaczej zostaną odtworzone"},
    {"*._detmp", 1, N,
     "Pliki tymczasowe tworzone przy zapisie dokumentów przez niektóre aplikacje (Brak "
     "dokładnych danych o typie programu)"},
    {"*._dd", 0, N,
     "Pliki tymczasowe programu (Brak danych o typie programu), zwykle pozostałości po "
     "instalacji"},
    {"*.wbk", 3, N,
     "Kopie zapasowe dokumentów programu Microsoft Word (opcja Zawsze twórz kopię zapasową). "
     "Można usunąć, jeśli dokument jest sprawny"},
    {"*.syd", 3, N,
     "Kopie zapasowe plików systemowych (np. config.syd, autoexec.syd) tworzone przy zmianach "
     "konfiguracji przez programy narzędziowe (m.in. firmy Quarterdeck)"},
    {"*.sik", 3, N,
     "Kopie zapasowe tworzone przez niektóre programy (m.in. niemieckie wersje aplikacji - od "
     "Sicherung). Można usunąć, jeśli oryginał jest sprawny"},
    {"*.sdi", 0, N, "Pliki tymczasowe programu (Brak danych o typie programu)"},
    {"*.nav", 3, N,
     "Kopie zapasowe i pliki pomocnicze niektórych programów (Brak dokładnych danych o typie "
     "programu)"},
    {"*.ms", 3, N,
     "Pliki sum kontrolnych programu Microsoft Anti-Virus i kopie zapasowe niektórych programów "
     "firmy Microsoft"},
    {"*.fnd", 1, N,
     "Zapisane kryteria wyszukiwania Eksploratora Windows (Znajdź - Zapisz wyszukiwanie). Można "
     "usunąć bez szkody"},
    {"*.fic", 0, N,
     "Pliki tymczasowe nieznanej aplikacji (Uwaga: to samo rozszerzenie mają pliki danych baz "
     "HyperFileSQL programów WinDev - takich nie usuwać !)"},
    {"*.err", 5, N,
     "Pliki z zapisem błędów tworzone przez aplikacje i instalatory. Bezpieczne przy usuwaniu"},
    {"*.dmp", 1, N,
     "Zrzuty pamięci po awarii systemu lub programu (np. minizrzuty Windows). Potrzebne tylko do "
     "diagnozy błędu, bezpieczne przy usuwaniu"},
    {"*.cpy", 3, N,
     "Kopie plików tworzone przez różne programy przy kopiowaniu lub aktualizacji. Zwykle "
     "bezpieczne przy usuwaniu"},
    {"*.alt", 1, N,
     "Pliki tymczasowe i alternatywne kopie plików (np. ustawień) tworzone przez niektóre "
     "aplikacje"},
    {"*__ofidix*.*", 1, N,
     "Pliki tymczasowe pakietu biurowego (najprawdopodobniej Microsoft Office) pozostawione po "
     "instalacji lub aktualizacji"},
    {"swapfile.*", 4, N,
     "Plik wymiany pamięci wirtualnej systemu Windows (np. swapfile.sys). Używany przez system - "
     "NIE należy go usuwać ręcznie"},
    {"*.cor", 0, N, "Pliki tymczasowe programu (Brak danych o typie programu)"},
    {"*.url", 2, Q,
     "Skróty do stron internetowych (np. Ulubione przeglądarki Internet Explorer). Usunięcie "
     "kasuje zapisany odnośnik"},
    {"*.log", 5, N,
     "Pliki wykonanych czynności tworzone przez aplikacje (pełni taką samą funkcję co pliki "
     "tekstowe mające w nazwie słowo LOG)"},
    {"*@*].txt", 2, N,
     "Pliki cookies przeglądarki Internet Explorer (np. nazwa@strona[1].txt). Bezpieczne przy "
     "usuwaniu, ale strony zapomną ustawienia i zalogowania"},
    {"*.backup", 3, N,
     "Kopie zapasowe plików tworzone przez różne aplikacje (także kopie programu Pylomir). Przed "
     "usunięciem upewnić się, że kopia nie jest potrzebna"},
    {"*kopia*.*", 3, N,
     "Kopie plików ze słowem KOPIA w nazwie (np. tworzone przez polski Eksplorator Windows: "
     "Kopia - dokument.doc). Sprawdzić przed usunięciem"},
    {"*.umb", 3, N,
     "Kopie zapasowe tworzone przez niektóre programy (Brak dokładnych danych o typie "
     "programu)"},
    {"*.cln", 5, N,
     "Raporty programów czyszczących system (najprawdopodobniej listy usuniętych wpisów). "
     "Zwykle bezpieczne przy usuwaniu"},
    {"*.cyp", 0, N,
     "Pliki tymczasowe nieznanej aplikacji (Brak danych o typie programu). Zwykle bezpieczne "
     "przy usuwaniu"},
    {"*.fix", 0, N,
     "Pliki tymczasowe nieznanej aplikacji, najczęściej zapis poprawek (Brak danych o typie "
     "programu)"},
    {"*.sc0", 0, N, "Pliki tymczasowe programu (Brak danych o typie programu)"},
    {"*.ubk", 0, N,
     "Pliki tymczasowe lub kopie zapasowe nieznanej aplikacji (Brak danych o typie programu)"},
    {"*.bor", 0, N, "Pliki tymczasowe programu (Brak danych o typie programu)"},
    {"*.sav", 5, X,
     "Plik zapisu stanu aplikacji (Uwaga: używany także do zapisu stanu gry - zaleca się "
     "usuwanie go tylko wtedy gdy nie ma nic wspólnego z grą !)"},
    {"*.cb", 0, N,
     "Pliki tymczasowe nieznanej aplikacji (Brak danych o typie programu). Zwykle bezpieczne "
     "przy usuwaniu"},
    {"*.rpt", 5, N,
     "Pliki raportów tworzone przez aplikacje i narzędzia systemowe (Uwaga: to samo "
     "rozszerzenie mają szablony Crystal Reports - takich nie usuwać)"},
    {"[?]*.*", 2, N,
     "Pliki o nietypowych nazwach z pamięci podręcznej przeglądarki (Temporary Internet Files). "
     "Bezpieczne przy usuwaniu"},
    {"*.fcgi", 2, X,
     "Skrypty FastCGI zapisane w pamięci podręcznej przeglądarki przy odwiedzaniu stron"},
    {"*.aspx", 2, X,
     "Strony ASP.NET zapisane w pamięci podręcznej przeglądarki (Temporary Internet Files)"},
    {"mixbackup*.nmx", 3, N,
     "Kopie zapasowe miksów programu do miksowania muzyki (Brak dokładnych danych o typie "
     "programu). Usuwać tylko, gdy miksy są zapisane gdzie indziej"},
    {"collection.nml.bak.???", 3, N,
     "Kopie zapasowe kolekcji utworów programu Native Instruments Traktor (plik collection.nml). "
     "Starsze kopie można usunąć"},
    {"entries.reg", 7, N,
     "Pliki kopii zapasowej wprowadzonych zmian w rejestrze przez program JV16 PowerTools"},
    {"??.sud", 3, N,
     "Kopie zapasowe ustawień tworzone przez niektóre programy narzędziowe (Brak dokładnych "
     "danych o typie programu)"},
    {"*.mks", 3, N,
     "Kopie zapasowe i pliki robocze programu antywirusowego mks_vir (np. kopie plików przed "
     "leczeniem). Usuwać po sprawdzeniu, że leczone pliki działają"},
    {"*.rcb", 3, N,
     "Kopie zapasowe tworzone przez niektóre programy (Brak dokładnych danych o typie "
     "programu)"},
    {"[?]*", 2, N,
     "Pliki bez rozszerzenia o nietypowych nazwach z pamięci podręcznej przeglądarki (Temporary "
     "Internet Files). Bezpieczne przy usuwaniu"},
    {"[??]*", 2, N,
     "Pliki o nietypowych nazwach z pamięci podręcznej przeglądarki (Temporary Internet Files). "
     "Bezpieczne przy usuwaniu"},
    {"*.evt", 5, N,
     "Pliki dziennika zdarzeń systemu Windows (Podgląd zdarzeń, np. AppEvent.evt) lub ich "
     "zapisane kopie. Używanych dzienników system nie pozwoli usunąć"},
    {"favicon*].ico", 2, N,
     "Ikony stron internetowych (favicon) z pamięci podręcznej Temporary Internet Files. "
     "Bezpieczne przy usuwaniu"},
    {"checks.*.*", 5, N,
     "Raporty kontroli tworzone przez niektóre programy narzędziowe (Brak dokładnych danych o "
     "typie programu)"},
    {"iconcache.db", 4, X, "Plik pamięci tymczasowej ikon w XP (Cache ikony)"},
    {"?[?].*", 2, X,
     "Pliki o nietypowych nazwach z pamięci podręcznej przeglądarki (Temporary Internet Files)"},
    {"*.plm", 5, N,
     "Pliki LOG o przeprowadzonych skanowaniach i znalezionych plikach programem Pylomir "
     "usuwającym pliki tymczasowe"},
    {"ad*aware*-*.txt", 5, N,
     "Raporty skanowania programu Ad-Aware firmy Lavasoft. Bezpieczne przy usuwaniu"},
    {"brudlog.txt", 5, X,
     "Log programu czyszczącego dysk (Brak dokładnych danych o typie programu)"},
    {"modemdet.txt", 6, X, "Log wykrywania modemu zapisywany przez instalator systemu Windows"},
    {"suhdlog.txt", 5, X,
     "Log wykrywania sprzętu przez instalator systemu Windows 9x (Setup Hardware Detection)"},
    {"sflog.txt", 5, X,
     "Log instalatora systemu Windows lub programu (Brak dokładnych danych o typie programu)"},
    {"ndislog.txt", 5, X,
     "Log wykrywania kart sieciowych (NDIS) zapisywany przez instalator systemu Windows"},
    {"eelog.txt", 5, X, "Log programu instalacyjnego (Brak dokładnych danych o typie programu)"},
    {"oewablog.txt", 5, X,
     "Log instalacji programu Outlook Express i Książki adresowej systemu Windows"},
    {"?etlog.txt", 5, X,
     "Logi instalatora systemu Windows 9x (np. detlog.txt - wykrywanie sprzętu, setlog.txt - "
     "przebieg instalacji, netlog.txt - instalacja sieci)"},
    {"mks_m*.log", 5, N,
     "Raporty skanowania programu antywirusowego mks_vir. Bezpieczne przy usuwaniu"},
    {"zalo*.txt", 5, N,
     "Log zapory sieciowej ZoneAlarm (zalog.txt) z zapisem zablokowanych połączeń. Bezpieczny "
     "przy usuwaniu"},
    {"realplayer-lo*.txt", 5, N, "Logi programu RealPlayer. Bezpieczne przy usuwaniu"},
    {"*].js", 2, N,
     "Potencjalnie niebezpieczny plik skryptu instalujący się TYLKO w folderze Temporary "
     "Internet Files"},
    {"manual*_log.*", 5, N,
     "Logi operacji uruchomionych ręcznie w programach narzędziowych (Brak dokładnych danych o "
     "typie programu)"},
    {"logentries", 5, N,
     "Plik dziennika bez rozszerzenia tworzony przez niektóre aplikacje. Bezpieczny przy "
     "usuwaniu"},
    {"*.q", 3, N,
     "Pliki kwarantanny lub kopii zapasowych niektórych programów (Brak dokładnych danych o typie "
     "programu)"},
    {"*duplicate_files.txt", 6, N,
     "Raporty wyszukiwania powtarzających się plików zapisane przez programy porządkujące dysk. "
     "Tylko informacja, bezpieczne przy usuwaniu"},
    {"380*.reg", 7, N,
     "Kopie zapasowe rejestru zapisane przez programy czyszczące rejestr (Brak dokładnych danych "
     "o typie programu). Po sprawdzeniu stabilności systemu można usunąć"},
    {"automatic*.arp", 3, N,
     "Automatyczne kopie zapasowe tworzone przez programy narzędziowe (Brak dokładnych danych o "
     "typie programu)"},
    {"errors.log", 5, N, "Log błędów zapisywany przez różne aplikacje. Bezpieczny przy usuwaniu"},
    {"registry-bac*.reg", 7, N,
     "Kopie zapasowe rejestru (registry-backup) tworzone przez programy optymalizujące rejestr "
     "przed wprowadzeniem zmian"},
    {"norton*-*h*s.log", 5, N,
     "Logi programów Norton firmy Symantec (np. historia działań Norton Utilities lub Norton "
     "SystemWorks). Bezpieczne przy usuwaniu"},
    {"*].asp", 2, X, "Strony ASP zapisane w pamięci podręcznej Temporary Internet Files"},
    {"*].php", 2, N,
     "Strony PHP zapisane w pamięci podręcznej Temporary Internet Files. Bezpieczne przy "
     "usuwaniu"},
    {"*].swf", 2, N,
     "Animacje Flash (reklamy i elementy stron) z pamięci podręcznej Temporary Internet Files. "
     "Mogą zawierać szkodliwy kod, bezpieczne przy usuwaniu"},
    {"syslog.txt", 5, N,
     "Dziennik zdarzeń systemu lub programów narzędziowych. Bezpieczny przy usuwaniu"},
    {"cleanup.log", 5, N, "Log programów czyszczących dysk. Bezpieczny przy usuwaniu"},
    {"dkeventlog.txt", 5, N,
     "Log zdarzeń programu Diskeeper (defragmentacja dysku). Bezpieczny przy usuwaniu"},
    {"regbackup*.dat", 7, N,
     "Kopie zapasowe rejestru zapisane przez programy czyszczące i optymalizujące rejestr. "
     "Potrzebne tylko do cofnięcia ich zmian"},
    {"backup-200*", 3, N,
     "Kopie zapasowe z datą w nazwie (np. backup-2006-05-01) tworzone przez programy "
     "archiwizujące. Przed usunięciem sprawdzić zawartość"},
    {"imageDB.d?f", 1, N,
     "Baza miniatur przeglądarek i organizerów zdjęć (ImageDB.ddf, ImageDB.dtf). Program "
     "odtworzy ją przy przeglądaniu folderu"},
    {"*&*?*[*", 2, Q,
     "Pliki z pamięci podręcznej przeglądarki o nazwach ze znakami & i [ (kopie stron "
     "wywołanych z parametrami)"},
    {"*_*_*_*.reg", 7, N,
     "Kopie zapasowe rejestru z datą i godziną w nazwie, zapisane przez programy czyszczące "
     "rejestr. Potrzebne tylko do cofnięcia zmian"},
    {"duplist", 1, N,
     "Plik tymczasowy z listą powtarzających się plików, bez rozszerzenia (Brak dokładnych "
     "danych o typie programu)"},
    {"0?-?\?-?????.??.*", 7, N,
     "Kopie zapasowe rejestru z datą w nazwie tworzone przez programy czyszczące rejestr. "
     "Potrzebne tylko do cofnięcia zmian"},
    {"*.ilk", 1, N,
     "Pliki łączenia przyrostowego kompilatora Microsoft Visual C++. Odtwarzane przy następnej "
     "kompilacji"},
    {"*.aps", 0, N,
     "Pliki tymczasowe zasobów środowiska Microsoft Visual C++ (binarna kopia pliku RC). "
     "Odtwarzane przy otwarciu projektu"},
    {"*.ncb", 0, N,
     "Baza przeglądarki klas środowiska Microsoft Visual C++. Odtwarzana przy otwarciu "
     "projektu"},
    {"*.pch", 1, N,
     "Prekompilowane nagłówki kompilatorów C/C++ (np. Microsoft Visual C++). Odtwarzane przy "
     "kompilacji, często zajmują dużo miejsca"},
    {"fixed.*.*", 5, N,
     "Raporty napraw zapisane przez programy narzędziowe (Brak dokładnych danych o typie "
     "programu)"},
    {"*.zip.log", 5, Q, "Logi z pakowania lub rozpakowywania archiwów ZIP"},
    {"*.rar.log", 5, Q, "Logi z pakowania lub rozpakowywania archiwów RAR"},
    {"*.html.log", 5, Q,
     "Logi zapisywane przy pobieraniu stron HTML (np. przez menedżery "
     "pobierania)"},
    {"108*.reg", 7, N,
     "Kopie zapasowe rejestru zapisane przez programy czyszczące rejestr (Brak dokładnych danych "
     "o typie programu)"},
    {"FileBAK*.backup", 3, N,
     "Plik kopii zapasowej usuniętych plików programem Pylomir (obsługiwane jako rozszerzenie "
     "Backup)"},
    {"*.dof", 3, Q,
     "Plik opcji projektu środowiska Borland Delphi - nie jest kopią zapasową, usunięcie kasuje "
     "ustawienia projektu"},
    {"*.rsm", 3, N,
     "Kopie zapasowe i pliki przywracania tworzone przez niektóre programy (Brak dokładnych "
     "danych o typie programu)"},
    {"*.drc", 3, Q,
     "Plik identyfikatorów zasobów tekstowych tworzony przez kompilator Borland Delphi. "
     "Odtwarzany przy kompilacji"},
    {"AV*.log", 5, N,
     "Logi programów antywirusowych (np. AVVirus.log i AVApp.log programu Norton AntiVirus). "
     "Bezpieczne przy usuwaniu"},
    {"*].css", 2, X,
     "Arkusze stylów stron internetowych z pamięci podręcznej Temporary Internet Files"},
    {"*.ssb", 3, N,
     "Kopie zapasowe tworzone przez niektóre programy (Brak dokładnych danych o typie "
     "programu)"},
    {"*.q1b", 7, N,
     "Kopie zapasowe rejestru lub ustawień systemu (Brak dokładnych danych o typie programu)"},
    {"*].class", 2, N,
     "Aplety Java z pamięci podręcznej Temporary Internet Files. Mogą zawierać szkodliwy kod, "
     "bezpieczne przy usuwaniu"},
    {"*dot*].*", 2, N,
     "Elementy stron z członem 'dot' w nazwie z pamięci podręcznej Temporary Internet Files "
     "(najczęściej obrazki liczników i reklam). Bezpieczne przy usuwaniu"},
    {"*.@@@", 5, N,
     "Pliki raportów i zapisów tymczasowych tworzone przez niektóre instalatory (Brak "
     "dokładnych danych o typie programu)"},
    {"*.xlk", 1, N,
     "Kopie zapasowe skoroszytów programu Microsoft Excel. Można usunąć, jeśli skoroszyt jest "
     "sprawny"},
    {"*.#res", 1, N,
     "Pliki tymczasowe zasobów tworzone przez niektóre kompilatory i edytory zasobów (Brak "
     "dokładnych danych o typie programu)"},
    {"*.cdr_", 3, N,
     "Kopie zapasowe rysunków, najprawdopodobniej programu CorelDRAW. Można usunąć, jeśli "
     "rysunek CDR jest sprawny"},
    {"*-*-*-*-*-*.reg", 7, N,
     "Kopie zapasowe rejestru z datą i godziną w nazwie tworzone przez programy czyszczące "
     "rejestr. Potrzebne tylko do cofnięcia zmian"},
    {"??_??_200*_*_*.zip", 3, N,
     "Archiwa kopii zapasowych z datą w nazwie tworzone automatycznie przez programy "
     "archiwizujące. Przed usunięciem sprawdzić zawartość"},
    {"?.scl", 3, N,
     "Kopie zapasowe tworzone przez niektóre programy (Brak dokładnych danych o typie "
     "programu)"},
    {"*.w40", 3, N,
     "Kopie zapasowe plików konfiguracji zapisane przez instalator przy aktualizacji systemu "
     "Windows. Zwykle niepotrzebne"},
    {"*.qdk", 0, N,
     "Kopie plików startowych (np. config.qdk, autoexec.qdk) zapisane przez program QEMM firmy "
     "Quarterdeck. Zwykle niepotrzebne"},
    {"*.bac", 3, N,
     "Kopie zapasowe plików (skrót od backup) tworzone przez różne programy. Można usunąć, "
     "jeśli oryginał jest sprawny"},
    {"*.bup", 0, N,
     "Pliki kopii zapasowych tworzone przez różne programy (Uwaga: pliki BUP w folderze "
     "VIDEO_TS są kopią danych nawigacji płyty DVD - takich nie usuwać !)"},
    {"*.asd", 3, N,
     "Pliki Autoodzyskiwania programu Microsoft Word. Word usuwa je po poprawnym zamknięciu "
     "dokumentu, pozostałe można usunąć"},
    {"*.svd", 3, N,
     "Kopie zapasowe zapisywane automatycznie przez niektóre programy (Brak dokładnych danych o "
     "typie programu)"},
    {"*.svg", 3, N,
     "Kopie zapasowe niektórych programów (Uwaga: to samo rozszerzenie ma grafika wektorowa SVG "
     "- takich plików nie usuwać !)"},
    {"*.svs", 3, N,
     "Kopie zapasowe zapisu stanu tworzone przez niektóre programy (Brak dokładnych danych o "
     "typie programu)"},
    {"*.jou", 3, N,
     "Pliki dziennika zmian (journal) i kopie zapasowe edytorów (Brak dokładnych danych o typie "
     "programu)"},
    {"*.tjl", 3, N,
     "Pliki dziennika transakcji i kopii zapasowej (Brak dokładnych danych o typie programu)"},
    {"*.abk", 3, N,
     "Automatyczne kopie zapasowe tworzone przez programy (m.in. CorelDRAW). Można usunąć, "
     "jeśli oryginał jest sprawny"},
    {"*.bkp", 3, N,
     "Kopie zapasowe plików tworzone przez różne aplikacje. Można usunąć, jeśli oryginał jest "
     "sprawny"},
    {"*.cps", 3, N,
     "Kopie zapasowe i pliki sum kontrolnych programów Central Point (np. Central Point "
     "Anti-Virus, PC Tools)"},
    {"*.cvt", 3, N,
     "Kopie zapasowe tworzone przy konwersji plików do nowszego formatu. Zwykle niepotrzebne po "
     "udanej konwersji"},
    {"*.mbk", 3, N,
     "Kopie zapasowe tworzone przez niektóre programy (Brak dokładnych danych o typie "
     "programu)"},
    {"*.dbk", 3, N,
     "Kopie zapasowe baz danych tworzone przez różne programy. Przed usunięciem upewnić się, że "
     "baza jest sprawna"},
    {"*.m_u", 3, N,
     "Kopie zapasowe tworzone przez niektóre programy (Brak dokładnych danych o typie "
     "programu)"},
    {"c_0*.zip", 3, N,
     "Archiwa ZIP z kopiami zapasowymi tworzone automatycznie przez niektóre programy (Brak "
     "dokładnych danych o typie programu)"},
    {"*.nu4", 3, N,
     "Kopie zapasowe pakietu Norton Utilities (najprawdopodobniej dane do cofnięcia zmian po "
     "naprawie dysku). Można usunąć, gdy dysk działa poprawnie"},
    {"rptmng*.*", 5, N,
     "Raporty menedżera raportów niektórych programów narzędziowych (Brak dokładnych danych o "
     "typie programu)"},
    {"*.pf", 5, N,
     "Pliki Prefetch systemu Windows XP i nowszych, przyspieszające uruchamianie programów. "
     "System je odtworzy, ale pierwsze uruchomienia będą wolniejsze"},
    {"*_BAK_*", 3, N,
     "Kopie zapasowe z członem _BAK_ w nazwie tworzone przez różne programy. Przed usunięciem "
     "sprawdzić zawartość"},
    {"*].vb?", 2, N,
     "Skrypty Visual Basic (VBS, VBE) z pamięci podręcznej Temporary Internet Files. Potencjalnie "
     "niebezpieczne, bezpieczne przy usuwaniu"},
    {"*].shs", 2, N,
     "Pliki fragmentów dokumentów (Shell Scrap) z pamięci podręcznej Temporary Internet Files. "
     "Mogą ukrywać szkodliwy kod, bezpieczne przy usuwaniu"},
    {"fixedon*.xml", 3, N,
     "Kopie zapasowe zapisane przez programy naprawcze przed wprowadzeniem poprawek (Brak "
     "dokładnych danych o typie programu)"},
    {"1*].gif", 2, N,
     "Obrazki stron internetowych (liczniki, bannery) z pamięci podręcznej Temporary Internet "
     "Files. Bezpieczne przy usuwaniu"},
    {"*.??~", 1, N,
     "Kopie zapasowe z tyldą na końcu rozszerzenia tworzone przez edytory tekstu (np. "
     "plik.tx~). Bezpieczne przy usuwaniu"},
    {"demo.mp3", 1, N,
     "Przykładowy plik dźwiękowy dołączany do programów (np. odtwarzaczy). Nie jest potrzebny do "
     "ich działania"},
    {"ghosterr.txt", 5, N,
     "Raport błędów programu Norton Ghost zapisywany przy nieudanym tworzeniu lub odtwarzaniu "
     "obrazu dysku"},
    {"mssecure.xml", 5, X,
     "Baza aktualizacji zabezpieczeń firmy Microsoft używana przez Microsoft Baseline Security "
     "Analyzer"},
    {"pq_debug.txt", 6, X,
     "Log diagnostyczny programów firmy PowerQuest (np. PartitionMagic, Drive Image)"},
    {"release*notes.*", 6, X,
     "Informacje o wydaniu programu (Release Notes): nowości, poprawki i znane problemy"},
    {"system.st", 6, X,
     "Plik ustawień systemu zapisany przez niektóre programy (Brak dokładnych danych o typie "
     "programu)"},
    {"technote.txt", 6, N,
     "Notatki techniczne dołączane do programów (m.in. Windows Media Player). Tylko informacja, "
     "bezpieczne przy usuwaniu"},
    {"Shockwave?Log", 5, N,
     "Plik LOG (bez rozszerzenia) programu Macromedia Shockwave / Flash Player. Bezpieczny przy "
     "usuwaniu"},
    {"debug.nfo", 5, N,
     "Plik diagnostyczny zapisywany przez niektóre programy i instalatory. Bezpieczny przy "
     "usuwaniu"},
    {"clean-*-*-*.reg", 7, N,
     "Kopie zapasowe rejestru z datą w nazwie zapisane przez programy czyszczące przed "
     "usunięciem wpisów. Potrzebne tylko do cofnięcia zmian"},
    {"*-*-200?_*_*.log", 5, N,
     "Logi z datą w nazwie tworzone przez różne programy (np. komunikatory, programy "
     "narzędziowe). Bezpieczne przy usuwaniu"},
    {"masterlog.csv", 5, N,
     "Zbiorczy log w formacie CSV zapisywany przez niektóre programy narzędziowe (Brak "
     "dokładnych danych o typie programu)"},
    {"200??????????????.zip", 3, N,
     "Archiwa kopii zapasowych z datą i godziną w nazwie tworzone automatycznie przez programy "
     "archiwizujące. Przed usunięciem sprawdzić zawartość"},
    {"trc-iSysCleaner*.txt", 5, N, "Logi działania programu iSysCleaner. Bezpieczne przy usuwaniu"},
    {"???.part.met", 3, N,
     "Pliki opisu pobieranych plików programu eMule (eDonkey2000). Usunięcie uniemożliwia "
     "wznowienie pobierania"},
    {"XPLite.log", 5, N,
     "Log programu XPLite (usuwanie składników systemu Windows). Bezpieczny przy usuwaniu"},
    {"*.sbk", 3, N,
     "Kopie zapasowe zadań lub ustawień tworzone przez niektóre programy (Brak dokładnych "
     "danych o typie programu)"},
    {"*.bsc", 1, N,
     "Pliki bazy przeglądarki źródeł kompilatora Microsoft Visual C++. Odtwarzane przy "
     "kompilacji"},
    {"log?200*.html", 5, N,
     "Logi w formacie HTML z datą w nazwie zapisywane przez komunikatory i programy "
     "narzędziowe. Bezpieczne przy usuwaniu"},
    {"unreal.nglog.200?.*.*.log", 5, N,
     "Logi statystyk gry Unreal Tournament (ngStats). Zawierają tylko statystyki rozgrywek, "
     "bezpieczne przy usuwaniu"},
    {"{*}.rep?", 5, N,
     "Raporty z identyfikatorem GUID w nazwie (najczęściej raporty błędów programów). "
     "Bezpieczne przy usuwaniu"},
    {"*.lgc", 5, N,
     "Pliki dziennika tworzone przez niektóre programy narzędziowe (Brak dokładnych danych o "
     "typie programu). Zwykle bezpieczne przy usuwaniu"},
    {"*.lgd", 5, N,
     "Pliki dziennika tworzone przez niektóre programy narzędziowe (Brak dokładnych danych o "
     "typie programu). Zwykle bezpieczne przy usuwaniu"},
    {"title.wma", 1, N,
     "Przykładowy utwór dołączany do programu Windows Media Player. Nie jest potrzebny do "
     "działania programu"},
    {"welcom98.wav", 1, N,
     "Dźwięk powitalny prezentacji systemu Windows 98. Nie jest potrzebny do działania "
     "systemu"},
    {"*].x7", 2, N,
     "Pliki o rozszerzeniu X7 z pamięci podręcznej Temporary Internet Files (Brak dokładnych "
     "danych). Bezpieczne przy usuwaniu"},
    {"sample.asf", 1, N,
     "Przykładowy plik wideo dołączany do programu Windows Media Player. Nie jest potrzebny do "
     "działania programu"},
    {"sample.??v", 1, N,
     "Przykładowe pliki wideo (np. sample.wmv, sample.mov) dołączane do odtwarzaczy. Nie są "
     "potrzebne do ich działania"},
    {"yplayer.ypl", 5, N, "Lista odtwarzania i historia odtwarzacza Yahoo! Player"},
    {"xingmp3player.xpl", 5, N, "Lista odtwarzania i historia odtwarzacza Xing MP3 Player"},
    {"realplayer.ste", 5, N, "Plik stanu programu RealPlayer (zapis ustawień i historii)"},
    {"getright.hst", 5, N,
     "Historia pobierania programu GetRight. Usunięcie kasuje tylko listę pobranych plików"},
    {"dziew*beethovena*.wma", 1, N,
     "Przykładowy utwór (IX Symfonia Beethovena) dołączany do systemu Windows XP. Nie jest "
     "potrzebny do działania systemu"},
    {"*(autostradowy)*.wma", 1, N,
     "Przykładowy utwór (Highway Blues) dołączany do systemu Windows XP. Nie jest potrzebny do "
     "działania systemu"},
    {"music.wma", 1, N,
     "Przykładowy utwór dołączany do programu Windows Media Player. Nie jest potrzebny do "
     "działania programu"},
    {"copycd.wmv", 1, N,
     "Film z prezentacji programu Windows Media Player (kopiowanie płyt CD). Nie jest potrzebny "
     "do działania programu"},
    {"mdlib.wmv", 1, N,
     "Film z prezentacji programu Windows Media Player (biblioteka multimediów). Nie jest "
     "potrzebny do działania programu"},
    {"nuskin.wmv", 1, N,
     "Film z prezentacji programu Windows Media Player (skórki). Nie jest potrzebny do "
     "działania programu"},
    {"rtuner.wmv", 1, N,
     "Film z prezentacji programu Windows Media Player (radio internetowe). Nie jest potrzebny "
     "do działania programu"},
    {"viz.wmv", 1, N,
     "Film z prezentacji programu Windows Media Player (wizualizacje). Nie jest potrzebny do "
     "działania programu"},
    {"wmpaud?.wav", 1, N,
     "Dźwięki prezentacji programu Windows Media Player. Nie są potrzebne do jego działania"},
    {"segment?.swf", 1, N,
     "Animacje Flash prezentacji systemu Windows. Nie są potrzebne do działania systemu"},
    {"tour.exe", 1, N,
     "Program prezentacji systemu Windows. Nie jest potrzebny do działania systemu"},
    {"intro.swf", 1, N,
     "Animacja Flash wprowadzenia do prezentacji systemu Windows. Nie jest potrzebna do "
     "działania systemu"},
    {"nav.swf", 1, N,
     "Animacja Flash z nawigacją prezentacji systemu Windows. Nie jest potrzebna do działania "
     "systemu"},
    {"*.lge", 5, N,
     "Pliki dziennika tworzone przez niektóre programy narzędziowe (Brak dokładnych danych o "
     "typie programu). Zwykle bezpieczne przy usuwaniu"},
    {"*.cnt", 1, N,
     "Pliki spisu treści Pomocy systemu Windows (WinHelp). Bez nich Pomoc otworzy się bez "
     "spisu treści - usuwać ostrożnie"},
    {"vplayerini.vpl", 1, N,
     "Plik ustawień odtwarzacza wideo (Brak dokładnych danych o typie programu). Program "
     "odtworzy go z ustawieniami domyślnymi"},
    {"mmproxy_*_backup.mdb", 3, N,
     "Kopie zapasowe bazy danych (format Microsoft Access) programu pośredniczącego (Brak "
     "dokładnych danych o typie programu)"},
    {"*.chw", 1, N,
     "Indeks połączonych plików Pomocy HTML (CHM) tworzony przez system Windows. Odtwarzany "
     "automatycznie"},
    {"*.chq", 1, N,
     "Indeks wyszukiwania w połączonych plikach Pomocy HTML (CHM). Odtwarzany automatycznie"},
    {"welcome.exe", 1, N,
     "Program ekranu powitalnego systemu Windows 95/98. Nie jest potrzebny do działania "
     "systemu"},
    {"tour98.exe", 1, N,
     "Program prezentacji systemu Windows 98. Nie jest potrzebny do działania systemu"},
    {"leech.hst", 5, N,
     "Historia pobierania menedżera pobierania plików Leech. Usunięcie kasuje tylko listę "
     "pobranych plików"},
    {"iam*.rel", 5, N,
     "Pliki zapisu zmian tworzone przez niektóre programy (Brak dokładnych danych o typie "
     "programu). Zwykle bezpieczne przy usuwaniu"},
};

QList<FilterDescription> buildRows() {
    QList<FilterDescription> rows;
    rows.reserve(std::size(kRows));
    for (const Row& row : kRows) {
        QString text = QString::fromUtf8(row.text);
        if (row.mark == Mark::NotHandled)
            text.prepend(QString::fromUtf8(kNotHandledPrefix));
        else if (row.mark == Mark::NotHandledQuiet)
            text.prepend(QString::fromUtf8(kNotHandledQuietPrefix));
        rows.append({QString::fromUtf8(row.mask), static_cast<FilterCategory>(row.category), text});
    }
    return rows;
}

} // namespace

const QList<FilterDescription>& filterDescriptions() {
    static const QList<FilterDescription> rows = buildRows();
    return rows;
}

QString categoryCaption(FilterCategory category) {
    switch (category) {
    case FilterCategory::UnknownAppTemporary:
        return QStringLiteral("Pliki tymczasowe nieznanych aplikacji");
    case FilterCategory::Temporary:
        return QStringLiteral("Pliki tymczasowe");
    case FilterCategory::Internet:
        return QStringLiteral("Pliki internetowe");
    case FilterCategory::ProgramBackup:
        return QStringLiteral("Kopie zapasowe programów");
    case FilterCategory::RiskyToDelete:
        return QStringLiteral("Pliki o niebezpieczeństwie przy usuwaniu");
    case FilterCategory::LogsAndReports:
        return QStringLiteral("Pliki LOG i raportów");
    case FilterCategory::InfoAndText:
        return QStringLiteral("Pliki informacyjne i zwykłe tekstowe programów");
    case FilterCategory::RegistryBackup:
        return QStringLiteral("Kopie zapasowe rejestru");
    }
    return {};
}

QString maskColumnCaption() {
    return QStringLiteral("Typ pliku");
}

QString descriptionColumnCaption() {
    return QStringLiteral(
        "Opis rozszerzenia używanego przez aplikację [DOSTĘPNE: 197   Z   254   WSZYSTKICH]");
}

bool isNotHandled(const FilterDescription& row) {
    return row.description.startsWith(QString::fromUtf8(kNotHandledStart));
}

FilterDescriptionsTab::FilterDescriptionsTab(core::FilterDescriptionsState& state,
                                             const core::Services& services)
    : state_(state), s_(services) {}

void FilterDescriptionsTab::fill() {
    state_.rowOrder.clear();
    for (qsizetype i = 0; i < filterDescriptions().size(); ++i)
        state_.rowOrder.append(i);
    if (state_.sorted)
        sortRows();
}

void FilterDescriptionsTab::setSorted(bool on) {
    state_.sorted = on;
    // Turning sorting off leaves the rows where they are.
    if (on)
        sortRows();
}

void FilterDescriptionsTab::sortRows() {
    const QList<FilterDescription>& rows = filterDescriptions();
    const platform::LocaleFormats* locale = s_.locale;
    std::stable_sort(state_.rowOrder.begin(), state_.rowOrder.end(),
                     [&rows, locale](qsizetype a, qsizetype b) {
                         const QString& left = rows[a].mask;
                         const QString& right = rows[b].mask;
                         if (locale)
                             return locale->lessIgnoringCase(left, right);
                         return QString::compare(left, right, Qt::CaseInsensitive) < 0;
                     });
}

} // namespace pylomir::assess
