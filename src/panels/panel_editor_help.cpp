// The editor's help text for every kind of block.
#include <span>

#include "panels/panel_editor.h"
#include "panels/panel_state.h"

namespace {

// clang-format off
// Track elements.
constexpr const char* kTrackHelp[] = {
    "ÉLEMENTS DE VOIES :",
    "CANT: NUMÉRO DU CANTON: 0-315,(GARAGE+1000)",
    "S+  : ORIENTATION DU BLOC",
    "#1  : 0 A 16 POUR AJOUT VOIE SECONDAIRE",
    "    : +100 A +800 AJOUT D'UN PONT",
    "#2  : NUMÉRO CANTON DE VOIE SECONDAIRE",
    "OPT : 1 A 3 VOIES EN POINTILLÉE",
    "    : 4 A 29 AJOUT D'UN PICTOGRAMME",
    "    : UNIQUEMENT POUR RAIL VERTICAL/HORIZON",
    "    : 1 HP, 2 PLAY, 3,4 LAMPADAIRE",
    "    : 5 A 12 RECANGLE, 13 A 20 TOIT MAISON",
    "    : 21,22 MAISON, 23 A 26 LOCO, RE",
    "    : 27,28 RECTANGLE COULEUR C1",
    "    : 29 RECTANGLE + COULEUR C1, C2 ,C3 C4",
};
// Turnouts.
constexpr const char* kTurnoutHelp[] = {
    "AIGUILLAGES :",
    "CANT: NUMÉRO DU CANTON: 0-315,(GARAGE+1000)",
    "S+  : ORIENTATION DU BLOC",
    "#1  : NUMÉRO DE COMMANDE DU MOTEUR 1: 0-63",
    "#2  : SI AIG TRIPLE     CMD.MOTEUR 2: 0-63",
};
// Buffer stops.
constexpr const char* kBufferHelp[] = {
    "ÉLEMENTS DE VOIES, BUTOIR + CAPTEUR PASSAGE",
    "CANT: NUMÉRO DU CANTON: 0-315,(GARAGE+1000)",
    "S+  : ORIENTATION DU BLOC",
    "V1:NUMÉRO DE VARIABLE (CAPTEUR) FACULTATIF",
    "SI V1:1 ALLUME UN VOYANT FIN DE COURSE",
    "VOIR FENÊTRE RENDU (VOY DETECT -[]-)",
};
// Occupancy lamps.
constexpr const char* kOccupancyHelp[] = {
    "AFFICHE L'ÉTAT DE L'OCCUPATION DU CANTON:",
    "CANT: NUMÉRO DU CANTON: 0-315,(GARAGE+1000)",
    "S+  : ORIENTATION DU BLOC",
    "COULEURS:VOIR FENÊTRE RENDU(VOY DETECT-[]-)",
    "CLIC DESSUS:PERMET DE LANCER UN ITINÉRAIRE ",
};
// Imposed direction.
constexpr const char* kImposedHelp[] = {
    "IMPOSE LE SENS DE PARCOURS :",
    "CANT: NUMÉRO DU CANTON: 0-315,(GARAGE+1000)",
    "S+  : ORIENTATION DU BLOC",
};
// Canton information.
constexpr const char* kCantonInfoHelp[] = {
    "AFFICHE LE NUMÉRO DU CANTON, LA VITESSE ET",
    "LE NOM DU TRAIN :",
    "CANT: NUMÉRO DU CANTON: 0-315,(GARAGE+1000)",
    "S+  : ORIENTATION DU BLOC",
    "SI PB DÉTECTION TRAIN, CLIGNOTE EN ROUGE",
};
// Passage sensors.
constexpr const char* kSensorHelp[] = {
    "AFFICHE L'ÉTAT DU CAPTEUR DE PASSAGE :",
    "CANT: NUMÉRO DU CANTON: 0-315,(GARAGE+1000)",
    "S+  : ORIENTATION DU BLOC",
    "V1  : NUMERO DE VARIABLE (CAPTEUR D'ENTREE)",
    "SI V1:1 ALLUME UN VOYANT RECTANGULAIRE",
    "VOIR FENÊTRE RENDU (VOY DETECT -[]-)",
};
// Trackside signals.
constexpr const char* kSignalHelp[] = {
    "AFFICHE UN FEU AU BORD DE LA VOIE",
    "CANT: NUMÉRO DU CANTON: 0-315,(GARAGE+1000)",
    "S+   : ORIENTATION DU BLOC DE VOIE",
    "V1-V4: NUMÉRO VARIABLES DES LAMPES 1-4",
    "C1-C4: COULEUR DES LAMPES 1-4",
    "OPT  : 1 A 4 FORME DU PIED",
    "OPT  : 5 FEUX PASSAGE A NIVEAU",
    "TEXTE: 123+ESPACE : LAMPES1+2+3",
    "     : 1 : LAMPE 1, 2 : LAMPE 2, ...",
};
// The clock.
constexpr const char* kClockHelp[] = {
    "AFFICHE UNE HORLOGE : CHOISIR LES COULEURS",
    "C1 : COULEUR A L'ÉTAT 'ON'",
    "C2 : COULEUR A L'ÉTAT 'OFF'",
    "C3 : COULEUR CLIGNOTANTE A L'ÉTAT 'BLOQUÉE'",
    "MISE EN MARCHE EN CLIQUANT SUR LE BLOC",
    "EN RELIEF, LES COULEURS SONT IMPOSÉES",
};
// Uncouplers.
constexpr const char* kUncouplerHelp[] = {
    "AFFICHE L'ÉTAT DU RAIL DÉTELEUR",
    "CANT: NUMÉRO DU CANTON: 0-315,(GARAGE+1000)",
    "S+ : ORIENTATION DU BLOC",
    "V1 : NUMÉRO VARIABLE D'ÉTAT DU DÉTELEUR",
};
// The occupancy marker nothing uses yet.
constexpr const char* kUnusedHelp[] = {
    "ÉLEMENT PAS ENCORE UTILISABLE",
};
// Push button.
constexpr const char* kPushHelp[] = {
    "BOUTON POUSSOIR, A CHAQUE ACTION CHANGE",
    "L'ÉTAT DES VARIABLES (DE SORTIES) :",
    "V1 : MISE A 1 LE TEMPS DU CLIC ENFONCÉ",
    "V2 : MISE A 1 DE CETTE VARIABLE AU CLIC",
    "V3 : MISE A 0 DE CETTE VARIABLE AU CLIC",
    "COULEURS: VOIR FENÊTRE RENDU(VOY.INTER/BP)",
    "TXT : 4 LIGNES DE 4 CARACTÈRES",
    "OPT : AJOUT D'UN PICTOGRAMME (1 A 29)",
    "    : 1 HP, 2 PLAY, 3,4 LAMPADAIRE",
    "    : 5 A 12 RECANGLE, 13 A 20 TOIT MAISON",
    "    : 21,22 MAISON, 23 A 26 LOCO, RE",
    "    : 27,28 RECTANGLE COULEUR C1",
    "    : 29 RECTANGLE + COULEUR C1, C2 ,C3 C4",
    "    : +100 AFFICHE LE VOYANT",
};
// Switch.
constexpr const char* kSwitchHelp[] = {
    "INTERRUPTEUR :",
    "CHANGE L'ÉTAT DES VARIABLES (DE SORTIES)",
    "V1 : CHANGE L'ÉTAT DE CETTE VARIABLE (0-1)",
    "     A CHAQUE CLIC",
    "COULEURS: VOIR FENÊTRE RENDU(VOY.INTER/BP)",
    "TXT : 4 LIGNES DE 4 CARACTÈRES",
    "OPT : AJOUT D'UN PICTOGRAMME (1 A 29)",
    "    : 1 HP, 2 PLAY, 3,4 LAMPADAIRE",
    "    : 5 A 12 RECANGLE, 13 A 20 TOIT MAISON",
    "    : 21,22 MAISON, 23 A 26 LOCO, RE",
    "    : 27,28 RECTANGLE COULEUR C1",
    "    : 29 RECTANGLE + COULEUR C1, C2 ,C3 C4",
    "    : +100 AFFICHE LE VOYANT",
};
// Route button.
constexpr const char* kRouteHelp[] = {
    "BOUTON A APPUI/TRACTION (ITINÉRAIRES):",
    "V1 : ITI_START, MISE A 1 AU CLIC-GAUCHE",
    "V2 : ITI_STOP,  MISE A 1 AU CLIC-DROIT",
    "V3 : ITI_OK, VOYANT ALLUMÉ SI VAR : 1",
    "V4 : ITI_WAIT, CLIGNOTE SI VAR : 1",
    "COULEURS: VOIR FENÊTRE RENDU(B.ITI)",
};
// One lamp.
constexpr const char* kOneLampHelp[] = {
    "VOYANT POUR AFFICHER L'ÉTAT DES VARIABLES",
    "V1  : SI VAR: 1, LE VOYANT S'ALLUME(PRIORI)",
    "V2  : SI VAR: 1, LE VOYANT CLIGNOTE",
    "TXT : 4 LIGNES DE 4 CARACTÈRES",
    "OPT : FORMES DU VOYANT (-1, 1 A 6)",
    "    : -1 GROS ROND,",
    "    : 1 PETIT ROND, 2 PETIT ROND HAUT",
    "    : 3 CARRÉ, 4 CARRÉ HAUT",
    "    : 5 CARRÉ SIMPLE, 6 CARRÉ SIMPLE HAUT",
    "COULEUR: PAR DÉFAUT OU C1 / C2 SI DÉFINIES",
    "       : VOIR FENÊTRE RENDU(VOYANTS 1,2,4)",
};
// Two lamps.
constexpr const char* kTwoLampsHelp[] = {
    "2VOYANTS POUR AFFICHER L'ÉTAT DES VARIABLES",
    "V1 : SI VAR: 1, LE VOYANT 1 S'ALLUME(PRIO)",
    "V2 : SI VAR: 1,      //     CLIGNOTE(C1/C2)",
    "V3 : SI VAR: 1, LE VOYANT 2 S'ALLUME(PRIO)",
    "V4 : SI VAR: 1,      //     CLIGNOTE(C3/C4)",
    "TXT : 4 LIGNES DE 4 CARACTÈRES",
    "OPT : FORMES DES VOYANTS (-1, 1,2,10,11,12)",
    "    : -1 ROND, 1 CARRÉ, 2 CARRÉ SIMPLE",
    "    : OPT > 10 AFFICHAGE QUE SI VX DÉFINIE",
    "    : 10 ROND, 11 CARRÉ, 12 CARRÉ SIMPLE",
    "COULEUR: PAR DÉFAUT OU C1 A C4 SI DÉFINIES",
    "       : VOIR FENÊTRE RENDU(VOYANTS 1,2,4)",
};
// Four lamps.
constexpr const char* kFourLampsHelp[] = {
    "4VOYANTS POUR AFFICHER L'ÉTAT DES VARIABLES",
    "V1 : SI VAR: 1, LE VOYANT 1 S'ALLUME (C1)",
    "V2 : SI VAR: 1,      //   2    //    (C2)",
    "V3 : SI VAR: 1,      //   3    //    (C3)",
    "V4 : SI VAR: 1,      //   4    //    (C4)",
    "TXT : 4 LIGNES DE 4 CARACTÈRES",
    "OPT : FORMES DES VOYANTS (-1, 1,2,10,11,12)",
    "    : -1 CARRÉ, 1 ROND, 2 CARRÉ SIMPLE",
    "    : OPT > 10 AFFICHAGE QUE SI VX DÉFINIE",
    "    : 10 CARRÉ, 11 ROND, 12 CARRÉ SIMPLE",
    "COULEUR: PAR DÉFAUT OU C1 A C4 SI DÉFINIES",
    "       : VOIR FENÊTRE RENDU(VOYANTS 1,2,4)",
};
// Text.
constexpr const char* kTextHelp[] = {
    "POUR AFFICHER DU TEXTE:",
    "TXT : 4 LIGNES DE 4 CARACTÈRES",
    "COULEUR: PAR DÉFAUT OU C1 SI DÉFINIE",
    "       : VOIR FENÊTRE RENDU(CoulTEXT)",
    "OPT : AJOUT D'UN PICTOGRAMME (1 A 29)",
    "    : 1 HP, 2 PLAY, 3,4 LAMPADAIRE",
    "    : 5 A 12 RECANGLE, 13 A 20 TOIT MAISON",
    "    : 21,22 MAISON, 23 A 26 LOCO",
    "    : 27,28 RECTANGLE COULEUR C1",
    "    : 29 RECTANGLE + COULEUR C1, C2 ,C3 C4",
};
// Text and value.
constexpr const char* kTextValueHelp[] = {
    "POUR AFFICHER DU TEXTE + 1 VALEUR NUMÉRIQUE",
    "V1  : AFFICHE LA VALEUR DE V1 SUR 4 DIGITS",
    "POUR BARGRAPHE SERVO UTILISER : SRV_POS_XX",
    "TXT : 3 LIGNES DE 4 CARACTÈRES",
    "COULEUR: PAR DÉFAUT OU C1 A C3 SI DÉFINIES",
    "       : C1 : COULEUR DU TEXTE",
    "       : C2 : COULEUR DU TRAIT BARGRAPH",
    "       : C3 : COULEUR DU NOMBRE",
    "       : VOIR FENÊTRE RENDU(CoulTEXT)",
};
// Screen jump.
constexpr const char* kJumpHelp[] = {
    "POUR AFFICHER DIRECTEMENT UN AUTRE ÉCRAN",
    "TXT : 4 LIGNES DE 4 CARACTÈRES",
    "OPT : 0-7:TCO_0a7, 8:TRAIN, 9:TRAIN->CANTON",
    "10-16:DÉPLACEMENTS, 17:HORO, 18:VIBREUR,",
    "19-20:ITI, 21:GARAGES, 22-23:AIG, 24:RS232,",
    "25-27:VARIABLES, 28-29:CANTONS, 30:SERVOS,",
    "31:TABLES VÉRITÉ, 32-34:SÉLECTIF, 35-37:AGA",
    "#1 : FORME DU BLOC (-1, 1, 2, 3, 4)",
    "COULEUR: PAR DÉFAUT OU C1 SI DÉFINIE",
    "       : VOIR FENÊTRE RENDU(CoulTEXT)",
};
// Servo command.
constexpr const char* kServoHelp[] = {
    "COMMANDE DÉPLACEMENT SERVO",
    "V1:VAR_SERVO (8000-8305),  TXT:TEXTE LIBRE",
    " |DEPL_BP|INCREME_BP|PLUSIEU_BP| POSIT_BP",
    "#1|   -1 |PAS 0_1023|        -1|P0  0_1023",
    "#2|   -1 |        -1|BUT 0_1023|P1  0_1023",
    "S+|  +/- |      +/- |(<-SENS DE ROTATION)",
    "TXT : 4 LIGNES DE 4 CARACTÈRES",
    "OPT : 0-255 TEMPS ROTATION MAX EN 1/10Sec",
};
// Multi-function block.
constexpr const char* kMultiHelp[] = {
    "BLOC A FONCTION MULTIPLES (OPT:1,2,3..) :",
    "OPT:1 AFFICHE/ANNULE TOUS LES DÉPLACEMENTS",
    "OPT:2 AFFICHE/ANNULE TOUS LES ITINÉRAIRES ",
    "OPT:3 AFFECTE LE TRAIN SUR LE CANTON LIBRE",
    "OPT:4 URGENCE STOP",
    "OPT:5 BAL-HALTE INHIBITION",
    "OPT:6 BLOCAGE INHIBITION",
    "OPT:7 AFFICHAGE DES COMMANDES DES TRAINS",
    "OPT:8 RAZ TOUS LES BITS INVERSE DES CANTONS",
};
// The empty cell.
constexpr const char* kEmptyHelp[] = {
    "CASE VIDE",
    "CLIC-GAUCHE + ESPACE >> RAZ VARIABLE",
    "CLIC-GAUCHE + NOMBRE + ENTRÉE >> DANS VAR.",
    "SUR UN BLOC DU TCO :",
    " - CLIC-DROIT  = COPIER LE BLOC DEPUIS TCO",
    " - CLIC-GAUCHE = PLACER LE BLOC",
    "ON PEUT COPIER/COLLER UNE CASE D'UN TCO",
    "SUR UN AUTRE TCO, AVEC UN CLIC-DROIT +",
    "CHANGEMENT DE TCO + CLIC-GAUCHE.",
};
// clang-format on

using Lines = std::span<const char* const>;

struct KindHelp {
  int family;
  int variant;  // -1: every variant of the family
  Lines lines;
};

const KindHelp kKindHelp[] = {
    {FAMILY_TRACK, -1, kTrackHelp},         {FAMILY_TURNOUT, -1, kTurnoutHelp},
    {FAMILY_EQUIPMENT, 6, kBufferHelp},     {FAMILY_EQUIPMENT, 7, kBufferHelp},
    {FAMILY_EQUIPMENT, 10, kBufferHelp},    {FAMILY_EQUIPMENT, 11, kBufferHelp},
    {FAMILY_EQUIPMENT, 0, kOccupancyHelp},  {FAMILY_EQUIPMENT, 12, kOccupancyHelp},
    {FAMILY_EQUIPMENT, 5, kImposedHelp},    {FAMILY_EQUIPMENT, 16, kImposedHelp},
    {FAMILY_EQUIPMENT, 2, kCantonInfoHelp}, {FAMILY_EQUIPMENT, 13, kCantonInfoHelp},
    {FAMILY_EQUIPMENT, 3, kSensorHelp},     {FAMILY_EQUIPMENT, 14, kSensorHelp},
    {FAMILY_EQUIPMENT, 9, kSignalHelp},     {FAMILY_EQUIPMENT, 17, kSignalHelp},
    {FAMILY_EQUIPMENT, 8, kClockHelp},      {FAMILY_EQUIPMENT, 1, kUncouplerHelp},
    {FAMILY_EQUIPMENT, 18, kUncouplerHelp}, {FAMILY_EQUIPMENT, 4, kUnusedHelp},
    {FAMILY_EQUIPMENT, 15, kUnusedHelp},    {FAMILY_CONTROL, 0, kPushHelp},
    {FAMILY_CONTROL, 1, kSwitchHelp},       {FAMILY_CONTROL, 2, kRouteHelp},
    {FAMILY_CONTROL, 6, kOneLampHelp},      {FAMILY_CONTROL, 5, kTwoLampsHelp},
    {FAMILY_CONTROL, 3, kFourLampsHelp},    {FAMILY_CONTROL, 4, kTextHelp},
    {FAMILY_CONTROL, 9, kTextValueHelp},    {FAMILY_CONTROL, 7, kJumpHelp},
    {FAMILY_CONTROL, 8, kServoHelp},        {FAMILY_CONTROL, 10, kMultiHelp},
    {FAMILY_EMPTY, -1, kEmptyHelp},
};

}  // namespace

std::span<const char* const> editor_help_lines(int family, int variant) {
  for (const KindHelp& k : kKindHelp)
    if (k.family == family && (k.variant == -1 || k.variant == variant)) return k.lines;
  return {};
}
