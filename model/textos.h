// Every text the program shows, in Catalan, exactly as the user reads it (UTF-8).
#pragma once

#include <array>
#include <string_view>

namespace corvani::textos {

inline constexpr std::string_view nomPrograma = "Corvani";
inline constexpr std::string_view titolFinestra = "Corvani (1)";
inline constexpr std::string_view botoAcord = "D'acord";

// Captions. The white-light switch and the analysis button keep their state in their caption.
inline constexpr std::array<std::string_view, 3> llum = {"R", "V", "B"};
inline constexpr std::string_view llumOff = "Off";
inline constexpr std::string_view llumBlanca = "Llum Blanca";
inline constexpr std::string_view apagaLlum = "Apaga Llum";
inline constexpr std::string_view analisiDeLaLlum = "Anàlisi de la llum";
inline constexpr std::string_view normal = "normal";
inline constexpr std::string_view retiraFiltres = "Retira Filtres";
inline constexpr std::string_view borraTot = "BORRA TOT ";
inline constexpr std::string_view fullNou = "FULL NOU";
inline constexpr std::string_view filtresMarc = "FILTRES";
inline constexpr std::string_view tintaEtiqueta = "TINTA ";
inline constexpr std::array<std::string_view, 6> filtre = {"vermell", "verd", "blau", "cian", "magenta", "groc"};

// Tooltips.
inline constexpr std::string_view interruptorLlumBlanca = "Interruptor Llum Blanca";
inline constexpr std::array<std::string_view, 3> encenLlum = {"Encén llum vermella ", "Encén llum verda", "Encén llum blava"};
inline constexpr std::string_view ull = "ull";

// For screen readers: a control's name is its caption in the words on screen, then, where the
// caption does not say it, what the control does, after a comma (which a screen reader pauses at
// but does not say). What follows a caption is in lower case. The white-light switch and the
// analysis button say it for each caption.
inline constexpr std::string_view separadorNom = ", ";
inline constexpr std::array<std::string_view, 3> encenLlumColor = {"encén la llum vermella", "encén la llum verda",
                                                                   "encén la llum blava"};
inline constexpr std::array<std::string_view, 3> apagaLlumColor = {"apaga la llum vermella", "apaga la llum verda",
                                                                   "apaga la llum blava"};
inline constexpr std::string_view encenLlumBlanca = "encén la llum blanca";
inline constexpr std::string_view apagaLlumBlanca = "apaga la llum blanca";
inline constexpr std::string_view analitzaLlum = "analitza la llum en els tres colors bàsics";
inline constexpr std::string_view tornaLlumNormal = "torna a la llum normal";
inline constexpr std::array<std::string_view, 6> posaFiltre = {"posa el filtre vermell", "posa el filtre verd",
                                                               "posa el filtre blau",    "posa el filtre cian",
                                                               "posa el filtre magenta", "posa el filtre groc"};
inline constexpr std::string_view nomFull = "posa un full nou de paper blanc";
inline constexpr std::string_view nomTorna = "apaga els llums i treu els filtres";
// The names of the controls without a caption.
inline constexpr std::array<std::string_view, 8> nomTinta = {
    "Afegeix tinta vermella al pot", "Afegeix tinta blanca al pot",  "Afegeix tinta negra al pot",
    "Afegeix tinta cian al pot",     "Afegeix tinta magenta al pot", "Afegeix tinta groga al pot",
    "Afegeix tinta verda al pot",    "Afegeix tinta blava al pot"};
inline constexpr std::string_view nomBuidaPot = "Buida el pot de mescla";
inline constexpr std::string_view nomPinta = "Pinta el paper amb la mescla";
inline constexpr std::string_view nomLlumRecta = "Llum que apunta a l'ull";
inline constexpr std::string_view nomLlumAvall = "Llum que apunta al paper";
inline constexpr std::string_view nomDireccio = "Direcció de la llum";
// The direction bar's value, by position: 0 at the top, 1 at the bottom.
inline constexpr std::array<std::string_view, 2> direccioLlum = {"La llum apunta a l'ull.", "La llum apunta al paper."};

// What a screen reader is told of the bench. Colours are indexed by their primaries as bits,
// red 4, green 2, blue 1, as the lamps are.
inline constexpr std::string_view nomBanc = "banc òptic";
inline constexpr std::array<std::string_view, 8> llumDeColor = {"cap llum",      "llum blava",    "llum verda",
                                                                "llum cian",     "llum vermella", "llum magenta",
                                                                "llum groga",    "llum blanca"};
inline constexpr std::array<std::string_view, 8> colorDe = {"negre",   "blau",    "verd", "cian",
                                                            "vermell", "magenta", "groc", "blanc"};
inline constexpr std::string_view ullSenseLlum = "A l'ull no arriba cap llum.";
inline constexpr std::string_view arribaAlUll = "Arriba a l'ull ";    // one light, then a full stop
inline constexpr std::string_view arribenAlUll = "Arriben a l'ull ";  // several components
inline constexpr std::string_view unio = " i ";  // between the last two components
inline constexpr std::string_view filtreNumero = "filtre ";  // the slot from 1, a colon, its colour
inline constexpr std::string_view paper = "paper ";
inline constexpr std::string_view potBuit = "pot de mescla buit";
inline constexpr std::string_view pot = "pot de mescla: ";
inline constexpr std::string_view porcio = " porció, ";
inline constexpr std::string_view porcions = " porcions, ";
inline constexpr std::string_view capFiltre = "cap filtre";  // the filters taken out of the ray
inline constexpr std::string_view boto = "botó ";  // before a button's new name in a notice
inline constexpr std::string_view menu = "menú ";  // before the menu's title, said of its items

// Messages.
inline constexpr std::string_view limitFiltres = "només podem posar fins a 3 filtres alhora";
inline constexpr std::string_view potPle = "el pot de mescla ja està ple";
inline constexpr std::string_view potBuitBuidar = "No hi ha tinta al pot de les mescles. No hi ha res que buidar";
inline constexpr std::string_view potBuitPintar =
    "no hi ha tinta al pot de la mescla.Posa-n'hi primer tinta cian, magenta , blava o una mescla";

// The command line's answers; %1 stands for the option or argument at fault.
inline constexpr std::string_view ajudaOrdres =
    "Ús: corvani [opcions]\n"
    "Corvani: un banc d'òptica per aprendre la llum i el color.\n"
    "\n"
    "Opcions:\n"
    "  -h, --help     Mostra aquesta ajuda i surt.\n"
    "  -v, --version  Mostra la versió del programa i surt.\n"
    "\n"
    "També accepta les opcions estàndard de Qt, com ara -platform, -style o -reverse.\n"
    "No llegeix cap fitxer i no desa res.\n"
    "\n"
    "La guia per als docents és guia-docent.md.gz, a la documentació del programa\n"
    "(/usr/share/doc/corvani/ amb el paquet de Debian).\n";
inline constexpr std::string_view opcioDesconeguda = "l'opció «%1» no existeix.";
inline constexpr std::string_view faltaValor = "falta el valor d'una opció de Qt.";
inline constexpr std::string_view senseArguments = "el programa no pren arguments («%1»).";
inline constexpr std::string_view vegeuAjuda = "Vegeu «corvani --help».";
// When no window can be opened: %1 is the variable, the display or the graphical platform.
inline constexpr std::string_view senseDisplay = "no hi ha cap pantalla on obrir la finestra: la variable %1 no està definida.";
inline constexpr std::string_view pantallaInabastable = "no es pot connectar amb la pantalla «%1».";
inline constexpr std::string_view plataformaAbsent = "la plataforma gràfica «%1» no està instal·lada.";
inline constexpr std::string_view plataformaFallida = "no s'ha pogut obrir la plataforma gràfica «%1».";

// What the browser page shows where it cannot run: with scripts off, or without WebAssembly. The
// page's template holds it, written in at build time, as it must be there without the module.
inline constexpr std::string_view requisitNavegador =
    "Corvani necessita un navegador amb JavaScript i WebAssembly activats.";

// What the browser page shows once "&Sortir" has ended the program.
inline constexpr std::string_view programaAcabat =
    "El programa s'ha acabat. Torneu a carregar la pàgina per començar-lo de nou.";

// Menus; an ampersand marks the access letter.
inline constexpr std::string_view mnuSortir = "&Sortir";
inline constexpr std::string_view mnuInfo = "&Informació";
inline constexpr std::string_view mnusobre = "Sobre aquest programa";
inline constexpr std::string_view mnuComFunciona = "Com funciona";
inline constexpr std::string_view mnuMesInfo = "Més Informació";
inline constexpr std::string_view mnuOpcions = "&Opcions";
inline constexpr std::string_view mnuFiltres = "Només &Filtres";
inline constexpr std::string_view mnuTintes = "Només &Tintes";
inline constexpr std::string_view mnuComplet = "Programa Complet";

// Information texts. The doubled and trailing spaces are part of them.
inline constexpr std::string_view comFunciona =
    "amb llum blanca o amb els colors podeu enviar un raig de llum. Podeu interposar filtres de colors per veure quina llum arriba a l'ull. Podeu analitzar la llum i veure cada una de les tres components de colors bàsics. També és possible pintar un paper amb colors-pigment primaris  o les seves mescles i veure com és la llum que surt  ";
inline constexpr std::string_view mesInformacio =
    "Mescla de llum: els colors vermell, verd i blau es comporten com a colors-llum primaris. Mescla de pigments: Com a la tinta: Cada color-pigment primari absorbeix el seu complementari (que és un color-llum primari). A la mescla de pigments es suma l'efecte d'absorció de cada pigment. Els filtre spimaris deixen passar un sol color llum. Els filtres secundaris deixen passar dos colors-llum";

// The About text is these pieces joined with nothing between them: name, version, author, date,
// web address (the program has none) and a closing space.
inline constexpr std::array<std::string_view, 6> sobre = {
    nomPrograma, " . Versió 1 .  . ", "Equip Corvani", " .  maig 2004  .   ", "", " "};

}  // namespace corvani::textos
