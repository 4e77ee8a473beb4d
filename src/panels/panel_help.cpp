#include "panels/panel_help.h"

#include "core/surface.h"
#include "core/system.h"
#include "panels/panel_overlay.h"

// The spaces inside each line align its columns in the fixed-width font.
// clang-format off
const char* const kVariableHelp[kHelpLines] = {
    "NOM            CARTE(1),  CARTE(2): DESCRIPTION",
    "det_xxx          0-  15,  100- 115: ÉTAT DE DÉTECTIONS DES TRAINS PAR CANTONS",
    "det2_xxx      4000-4015, 4100-4115: CANTON OCCUPÉ, (Avec temporisation, pour feux)",
    "det2p_xxx     4020-4035, 4120-4135: CANTON OCCUPÉ, VITESSE>3 (Avec temporisation, pour feux)",
    "det2m_xxx     4040-4055, 4140-4155: CANTON OCCUPÉ, VITESSE<3 (Avec temporisation, pour feux)",
    "in_xxx         400- 479,  500- 579: VALEURS DES ENTRÉES NUMÉRIQUES (Matricées et directes)",
    "can_xxx        800- 805,  900- 905: VALEURS DES ENTRÉES ANALOGIQUES (0-255)",
    "out_xxx       1200-1279, 1300-1379: ACTIVATION DES SORTIES (1=SOUS TENSION)",
    "led_xxx       1600-1647, 1700-1747: ALLUMAGE LEDS (1=ALLUMÉE)",
    "led_cli_xxx   2000-2047, 2100-2147: MODE CLIGNOTEMENT (1=SI ALLUMÉE CLIGNOTE)",
    "led_phase_xxx 2400-2447, 2500-2547: INVERSION DE LA PHASE DU CLIGNOTEMENT (1=PHASE INVERSÉE)",
    "bal_cant_p_xx 3200-3215, 3300-3315: BLOC AUTOMATIQUE - 1=CANTON BLOQUÉ DANS LE SENS PLUS",
    "bal_cant_m_xx 3600-3615, 3700-3715: BLOC AUTOMATIQUE - 1=CANTON BLOQUÉ DANS LE SENS MOINS",
    "srv_pos_xxx   2800-2804, 2900-2904: POSITION RÉELLE DU SERVO (0-1023)",
    "srv_cmd_xxx   8000-8005, 8100-8105: CONSIGNE DE POSITION DES SERVO,+10=vitesse  (0-1023)",
    "var_xxx       5400-5850:   450 VARIABLES LIBRES POUR L'UTILISATEUR (0-1023) (>450 réservé)",
    "special_var_x 9100-9199:   100 VARIABLES SPÉCIALES RENSEIGNÉES PAR ZIR",
    "exe_xxx       8400-8499:Z: EXÉCUTE UN PROGRAMME, SURTOUT UTILE POUR DES SONS",
    "pulse_cmd_xxx 8500-8531:Z: DÉCLENCHEMENT D'UNE IMPULSION (Dételeur...)",
    "aig_cmd_xxx   5000-5063:   ACTIVE UN AIGUILLAGE EN POSITION 0 ou 1",
    "pos0_aig_xxx  5100-5163:   SI AIGUILLAGE EN POSITION 0   =1  (Lecture uniquement)",
    "pos1_aig_xxx  5200-5263:   SI AIGUILLAGE EN POSITION 1   =1  (Lecture uniquement)",
    "iti_start_xxx 6000-6049:Z: ACTIVATION D'UN ITINÉRAIRE    =1  (Écriture uniquement)",
    "iti_stop_xxx  6100-6149:Z: DÉSACTIVATION D'UN ITINÉRAIRE =1  (Écriture uniquement)",
    "iti_wait_xxx  6200-6249:   ITINÉRAIRE EN ATTENTE         =1  (Lecture uniquement)",
    "iti_ok_xxx    6300-6349:   ITINÉRAIRE ÉTABLIT            =1  (Lecture uniquement)",
    "pb_capt_t_xxx 9000_9015:   PROBLÈME DE DÉTECTION DES TRAINS (SUR LES CANTONS) 1=PB",
    "pb_capt_c_xxx 8600-8615, 8700-8715: PROBLÈME DE DÉTECTION (DE TRAIN) SUR LES CANTONS",
    "depl_start_run_xxx    6500-6699:Z:  DÉMARRE UN DÉPLACEMENT",
    "depl_stop_xxx         6700-6899:Z:  ARRÊT PRÉMATURÉ D'UN DÉPLACEMENT ",
    "garage_lock_cmd_xxx   6900-6931:    COMMANDES DE VERROUILLAGE (ISOLATION) DES GARAGES",
    "garage_lock_status_xx 6950-6981:    ÉTATS DE VERROUILLAGE (ISOLATION) DES GARAGES",
    "separe_xxx    9400-9499:Z: SÉPARE UN TRAIN EN LOCO + WAGONS        (Écriture uniquement)",
    "regroupe_xxx  9500-9599:Z: REGROUPE UNE LOCO + WAGONS EN UN TRAIN  (Écriture uniquement)",
    "vib_on        7000:  MISE EN MARCHE SURVEILLANCE DES FAUX-CONTACTS (ACTIVATION DU VIBREUR)",
    "vib_state     7002:  ÉTAT DU VIBREUR (ON/OFF)   || screen_mode     7003: N° DE L'ÉCRAN AFFICHÉ",
    "arret_urg_on  7004:  ACTIONNE L'ARRÊT D'URGENCE || arret_urg_state 7005: ÉTAT DE L'ARRÊT D'URGENCE",
    " ",
    "Z  : AUTOMATIQUEMENT REMIS A ZÉRO APRÈS PRISE EN COMPTE (ou à la fin du déplacement)",
};
// clang-format on

namespace {

constexpr int kHelpWidth = 800;
constexpr int kFirstLine = 40;
constexpr int kLineStep = 16;
// Every line is narrowed alike so that the longest (98 characters) fits the page and the
// columns stay aligned: 7.9 pixels a character.
constexpr int kPitchTenths = 79;

}  // namespace

void paint_help(Surface& s) {
  overlay_box(s, 0, 0, kHelpWidth - 1, kOverlayHeight - 1, 7);
  overlay_box(s, 785, 2, 798, 15, 7);
  s.draw_line(788, 5, 796, 13);
  s.draw_line(795, 5, 787, 13);
  overlay_box(s, 40, 4, 360, 14, 7);
  overlay_text(s, 70, 5, "TOUCHE '+' : FENÊTRE SUIVANTE");
  overlay_text(s, 720, 17, "ESC:QUIT");
  overlay_box(s, 40, 20, 360, 30, 7);
  overlay_text(s, 65, 22, "LISTE DES VARIABLES DE ZIR 2000", 294);
  for (int i = 0; i < kHelpLines; ++i)
    overlay_text_pitch(s, 10, kFirstLine + kLineStep * i, kVariableHelp[i], kPitchTenths,
                       Font::Second);
}

void help_press(System& sys, int x, int y) {
  if (x >= 786 && x <= 799 && y >= 1 && y <= 14) sys.screen.panel_mode = kOverlayNone;
}
