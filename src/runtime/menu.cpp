#include "runtime/menu.h"

namespace {

constexpr MenuItem kFiles[] = {
    {913, "Editer 'config.txt'"},
    {914, "Recharger 'config.txt'"},
    {0, nullptr},
    {943, "Sauver TCO Maintenant"},
    {0, nullptr},
    {902, "Quitter"},
};

constexpr MenuItem kChanges[] = {
    {941, "Edition TCO (touche '+')"},
    {942, "Rendu TCO (touche '+')"},
    {916, "Aide TCO : Listes des Variables"},
    {0, nullptr},
    {945, "Caractéristiques des Trains  (touche'8')"},
    {932, "Trains -> Cantons"},
    {929, "Horloge - Réglage"},
    {949, "Vibreur"},
};

constexpr MenuItem kPanels[] = {
    {905, "TCO0, (touches '0' à '7')"},
    {906, "TCO1"},
    {907, "TCO2"},
    {908, "TCO3"},
    {909, "TCO4"},
    {910, "TCO5"},
    {911, "TCO6"},
    {912, "TCO7"},
};

constexpr MenuItem kDebug[] = {
    {939, "Commande directe RS232 de la carte"},
    {940, "Servo-Moteurs"},
    {0, nullptr},
    {946, "Variables 000 - 239"},
    {947, "Variables 240 - 479"},
    {948, "Variables 480 - 599 et variables spéciales"},
    {0, nullptr},
    {944, "Tables de vérité  'Tdv:'"},
    {961, "Tables de vérité  'Pulse:'"},
    {0, nullptr},
    {919, "Cantons 000 - 115"},
    {920, "Cantons 200 - 315"},
};

constexpr MenuItem kTables[] = {
    {917, "Aiguillages 00 - 29"},
    {918, "Aiguillages 30 - 59"},
    {0, nullptr},
    {921, "Déplacements  00 - 29  (touche ')')"},
    {922, "Déplacements  30 - 59"},
    {923, "Déplacements  60 - 89"},
    {924, "Déplacements  90 -119"},
    {925, "Déplacements 120 -149"},
    {926, "Déplacements 150 -179"},
    {927, "Déplacements 180 -199"},
    {0, nullptr},
    {930, "Itinéraires  00 - 24  (touche '=')"},
    {931, "Itinéraires  25 - 49"},
    {928, "Garages"},
    {971, "Sépare - Regroupe"},
    {0, nullptr},
    {962, "Horloge - Liste  (touche '9')"},
    {958, "Exe 00 - 31"},
    {959, "Exe 32 - 63"},
    {960, "Exe 64 - 95"},
    {0, nullptr},
    {933, "Sélectif 00 - 31"},
    {934, "Sélectif 32 - 63"},
    {935, "Sélectif 64 - 95"},
    {936, "Aigauto 00 - 31"},
    {937, "Aigauto 32 - 63"},
    {938, "Aigauto 64 - 95"},
    {0, nullptr},
    {951, "Vitmaxi 00 - 31"},
    {952, "Vitmaxi 32 - 59"},
    {953, "Halte 00 - 31"},
    {954, "Halte 32 - 59"},
    {955, "Balauto 00 - 31"},
    {956, "Balauto 32 - 63"},
    {957, "Balauto 64 - 95"},
};

constexpr MenuItem kHelp[] = {
    {903, "Aide"},
    {904, "A propos"},
    {950, "Liste des variables ZIR"},
};

constexpr MenuBarEntry kMenuBar[] = {
    {" Fichiers ", 0, kFiles, false}, {" Modifications ", 0, kChanges, false},
    {" TCO ", 0, kPanels, false},     {" Debug ", 0, kDebug, false},
    {" Tables ", 0, kTables, false},  {"   [Trains -> Cantons] ", 932, {}, false},
    {"   TCO[ 0 ]", 905, {}, false},  {" [ 1 ]", 906, {}, false},
    {" [ 2 ]", 907, {}, false},       {" [ 3 ]", 908, {}, false},
    {" [ 4 ]", 909, {}, false},       {" [ 5 ]", 910, {}, false},
    {" [ 6 ]", 911, {}, false},       {" [ 7 ]", 912, {}, false},
    {"   Aide ", 0, kHelp, true},
};

}  // namespace

std::span<const MenuBarEntry> menu_bar() {
  return kMenuBar;
}
