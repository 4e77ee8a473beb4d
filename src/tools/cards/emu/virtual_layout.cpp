#include "tools/cards/emu/virtual_layout.h"

#include <algorithm>
#include <cmath>

#include "core/tokens.h"

namespace {

constexpr double kEps = 1e-6;  // cm: closer than this is touching

std::string canton_text(int slot) {
  return std::to_string(canton_number(slot));
}

}  // namespace

VirtualLayout::VirtualLayout(const LayoutTrack& track, Report report)
    : track_(track), report_(std::move(report)) {
  for (int n = 0; n < kTurnouts; ++n) {
    const TurnoutMotor& motor = track_.turnouts[static_cast<size_t>(n)];
    position_[static_cast<size_t>(n)] = motor.defined ? motor.start_position : -1;
  }
  sign_.fill(1);
  for (int t = 0; t < kTrainEntries; ++t) {
    trains_[static_cast<size_t>(t)].length = track_.train_cm[static_cast<size_t>(t)];
    const int slot = track_.start_slot[static_cast<size_t>(t)];
    if (slot < 0) continue;
    const std::string error = place(t, slot, track_.start_offset_cm[static_cast<size_t>(t)]);
    if (!error.empty()) say("train " + std::to_string(t) + " non posé : " + error);
  }
}

double VirtualLayout::canton_speed(int slot) const {
  const double cm_s = static_cast<double>(speed_[static_cast<size_t>(slot)]) * track_.scale_cm_s /
                      track_.scale_byte;
  return sign_[static_cast<size_t>(slot)] * cm_s;
}

void VirtualLayout::command_frame(int card, const uint8_t* frame) {
  if (card < 0 || card >= kCards) return;
  for (int i = 0; i < kDetPerCard; ++i) {
    const int slot = card * kDetPerCard + i;
    speed_[static_cast<size_t>(slot)] = frame[2 + i];
    // The program inverts the bit of a canton wired the other way: undoing it gives the
    // direction the train really takes.
    const bool bit = ((frame[18 + i / 8] >> (i % 8)) & 1) != 0;
    sign_[static_cast<size_t>(slot)] =
        bit != track_.wired_inverted[static_cast<size_t>(slot)] ? 1 : -1;
  }
  for (int k = 0; k < kOutPerCard; ++k) {
    int byte = -1;
    if (k < 24) byte = 20 + k / 8;
    if (k >= 40) byte = 23 + (k - 40) / 8;
    const bool on = byte >= 0 && ((frame[byte] >> (k % 8)) & 1) != 0;
    output_[static_cast<size_t>(card * kOutPerCard + k)] = on ? 1 : 0;
  }
  update_turnouts();
}

void VirtualLayout::update_turnouts() {
  for (int n = 0; n < kTurnouts; ++n) {
    const TurnoutMotor& motor = track_.turnouts[static_cast<size_t>(n)];
    if (!motor.defined) continue;
    std::array<bool, 2> holds{};
    for (size_t p = 0; p < 2; ++p) {
      const auto* begin = motor.set[p].begin();
      const auto* end = begin + motor.set_size[p];
      holds[p] = motor.set_size[p] > 0 && std::all_of(begin, end, [this](const OutputValue& o) {
                   return output_[static_cast<size_t>(o.output)] == o.value;
                 });
    }
    // A frame that fits both positions (or neither) leaves the blades where they are.
    if (holds[0] == holds[1]) continue;
    const int p = holds[1] ? 1 : 0;
    if (position_[static_cast<size_t>(n)] == p) continue;
    position_[static_cast<size_t>(n)] = p;
    say("aiguillage " + std::to_string(n) + " en position " + std::to_string(p));
  }
}

bool VirtualLayout::conditions_hold(const TrackRule& rule) const {
  for (int k = 0; k < rule.conditions; ++k) {
    const int n = rule.turnout[static_cast<size_t>(k)];
    if (n < 0 || n >= kTurnouts) return false;
    if (position_[static_cast<size_t>(n)] != rule.position[static_cast<size_t>(k)]) return false;
  }
  return true;
}

const TrackRule* VirtualLayout::next_canton(int slot, int dir) const {
  for (const TrackRule& r : track_.rules) {
    if (r.from == slot && r.from_dir == dir && conditions_hold(r)) return &r;
  }
  return nullptr;
}

const TrackRule* VirtualLayout::previous_canton(int slot, int dir) const {
  for (const TrackRule& r : track_.rules) {
    if (r.to == slot && r.to_dir == dir && conditions_hold(r)) return &r;
  }
  return nullptr;
}

void VirtualLayout::advance(double ms) {
  if (ms <= 0) return;
  for (int t = 0; t < kTrainEntries; ++t) {
    Train& train = trains_[static_cast<size_t>(t)];
    if (!train.on) continue;
    double speed = canton_speed(train.path[0].slot) * train.path[0].dir;
    if (speed == 0) continue;
    // Power the other way: the train runs back the way it came, its tail leading.
    if (speed < 0) {
      reverse(train);
      speed = -speed;
    }
    move(t, speed * ms / 1000.0);
  }
}

void VirtualLayout::reverse(Train& train) {
  const int last = train.span_count - 1;
  const Span& tail = train.spans[static_cast<size_t>(last)];
  const double tail_at = train.path[static_cast<size_t>(last)].dir > 0 ? tail.from : tail.to;
  std::array<Segment, kTrainPath> turned{};
  for (int i = 0; i <= last; ++i) {
    const Segment& s = train.path[static_cast<size_t>(last - i)];
    turned[static_cast<size_t>(i)] = {s.slot, -s.dir};
  }
  train.path = turned;
  train.count = last + 1;
  train.head = tail_at;
  // The spans are the same stretches, listed from the new head.
  std::reverse(train.spans.begin(), train.spans.begin() + train.span_count);
}

double VirtualLayout::free_run(int t, int slot, double from, int dir, double wanted,
                               int& blocker) const {
  double allowed = wanted;
  uint32_t others = occupied_mask_[static_cast<size_t>(slot)] & ~(1u << t);
  while (others != 0) {
    const int o = __builtin_ctz(others);
    others &= others - 1;
    const Train& other = trains_[static_cast<size_t>(o)];
    for (int i = 0; i < other.span_count; ++i) {
      const Span& s = other.spans[static_cast<size_t>(i)];
      if (s.slot != slot) continue;
      double room = allowed;
      if (dir > 0 && s.to > from + kEps) room = std::max(0.0, s.from - from);
      if (dir < 0 && s.from < from - kEps) room = std::max(0.0, from - s.to);
      if (room < allowed) {
        allowed = room;
        blocker = o;
      }
    }
  }
  return allowed;
}

void VirtualLayout::move(int t, double distance) {
  Train& train = trains_[static_cast<size_t>(t)];
  bool hit_end = false;
  int hit = -1;
  while (distance > kEps) {
    const Segment head = train.path[0];
    const double end = head.dir > 0 ? canton_cm(head.slot) : 0;
    const double room = std::fabs(end - train.head);
    if (room <= kEps) {
      const TrackRule* next = next_canton(head.slot, head.dir);
      if (next == nullptr) {
        hit_end = true;
        if (!train.at_end) {
          say("train " + std::to_string(t) + " arrêté en bout du canton " + canton_text(head.slot));
        }
        break;
      }
      const double entry = next->to_dir > 0 ? 0 : canton_cm(next->to);
      if (free_run(t, next->to, entry, next->to_dir, kEps * 2, hit) < kEps * 2) break;
      hit = -1;
      const int kept = std::min(train.count, kTrainPath - 1);
      std::copy_backward(train.path.begin(), train.path.begin() + kept,
                         train.path.begin() + kept + 1);
      train.path[0] = {next->to, next->to_dir};
      train.count = kept + 1;
      train.head = entry;
      say("train " + std::to_string(t) + " entre dans le canton " + canton_text(next->to));
      continue;
    }
    const double wanted = std::min(distance, room);
    const double run = free_run(t, head.slot, train.head, head.dir, wanted, hit);
    train.head += head.dir * run;
    distance -= run;
    if (run < wanted) break;
    hit = -1;
  }
  if (hit >= 0 && train.blocked_by != hit) {
    say("collision : train " + std::to_string(t) + " arrêté contre le train " +
        std::to_string(hit) + " dans le canton " + canton_text(train.path[0].slot));
  }
  train.blocked_by = hit;
  train.at_end = hit_end;
  lay(t);
}

void VirtualLayout::lay(int t) {
  Train& train = trains_[static_cast<size_t>(t)];
  const uint32_t bit = 1u << t;
  for (int i = 0; i < train.span_count; ++i)
    occupied_mask_[static_cast<size_t>(train.spans[static_cast<size_t>(i)].slot)] &= ~bit;
  train.span_count = 0;
  if (!train.on) return;
  double remaining = train.length;
  for (int i = 0; i < train.count; ++i) {
    const Segment& s = train.path[static_cast<size_t>(i)];
    const double length = canton_cm(s.slot);
    const double near = i == 0 ? train.head : (s.dir > 0 ? length : 0);
    const double take = std::min(remaining, s.dir > 0 ? near : length - near);
    Span& span = train.spans[static_cast<size_t>(train.span_count++)];
    span = s.dir > 0 ? Span{s.slot, near - take, near} : Span{s.slot, near, near + take};
    occupied_mask_[static_cast<size_t>(s.slot)] |= bit;
    remaining -= take;
    if (remaining <= kEps) break;
  }
  train.count = train.span_count;
}

std::string VirtualLayout::place(int t, int slot, double offset_cm) {
  if (t < 0 || t >= kTrainEntries) return "pas de train " + std::to_string(t);
  if (slot < 0 || slot >= kCantons) return "pas de canton à cet endroit";
  Train& train = trains_[static_cast<size_t>(t)];
  const double length = canton_cm(slot);
  if (offset_cm < 0) offset_cm = std::min(length, (length + train.length) / 2);
  if (offset_cm > length) {
    return "le canton " + canton_text(slot) + " ne mesure que " +
           std::to_string(static_cast<int>(length)) + " cm";
  }
  const Train before = train;
  track_.used[static_cast<size_t>(slot)] = true;
  train.on = true;
  train.path[0] = {slot, 1};
  train.count = 1;
  train.head = offset_cm;
  train.at_end = false;
  train.blocked_by = -1;
  // The rest of the train stands on the cantons a train arriving here would have come from.
  double behind = train.length - offset_cm;
  for (Segment s = train.path[0]; behind > kEps && train.count < kTrainPath;) {
    const TrackRule* previous = previous_canton(s.slot, s.dir);
    if (previous == nullptr) break;
    s = {previous->from, previous->from_dir};
    train.path[static_cast<size_t>(train.count++)] = s;
    behind -= canton_cm(s.slot);
  }
  lay(t);
  for (int i = 0; i < train.span_count; ++i) {
    const Span s = train.spans[static_cast<size_t>(i)];
    int other = -1;
    const double clear = free_run(t, s.slot, s.from, 1, s.to - s.from, other);
    if (other < 0 || clear >= s.to - s.from - kEps) continue;
    train.on = false;
    lay(t);
    train = before;
    lay(t);
    return "le train " + std::to_string(other) + " occupe déjà le canton " + canton_text(s.slot);
  }
  say("train " + std::to_string(t) + " posé dans le canton " + canton_text(slot));
  return {};
}

std::string VirtualLayout::remove(int t) {
  if (t < 0 || t >= kTrainEntries || !trains_[static_cast<size_t>(t)].on)
    return "le train " + std::to_string(t) + " n'est pas sur le réseau";
  trains_[static_cast<size_t>(t)].on = false;
  lay(t);
  say("train " + std::to_string(t) + " retiré");
  return {};
}

int VirtualLayout::head_canton(int t) const {
  if (t < 0 || t >= kTrainEntries || !trains_[static_cast<size_t>(t)].on) return -1;
  return canton_number(trains_[static_cast<size_t>(t)].path[0].slot);
}

int VirtualLayout::tail_canton(int t) const {
  if (t < 0 || t >= kTrainEntries || !trains_[static_cast<size_t>(t)].on) return -1;
  const Train& train = trains_[static_cast<size_t>(t)];
  return canton_number(train.spans[static_cast<size_t>(train.span_count - 1)].slot);
}

double VirtualLayout::head_offset(int t) const {
  if (t < 0 || t >= kTrainEntries || !trains_[static_cast<size_t>(t)].on) return -1;
  return trains_[static_cast<size_t>(t)].head;
}

void VirtualLayout::status() const {
  bool any = false;
  for (int t = 0; t < kTrainEntries; ++t) {
    if (!trains_[static_cast<size_t>(t)].on) continue;
    any = true;
    say("train " + std::to_string(t) + " : canton " + std::to_string(head_canton(t)) + " à " +
        std::to_string(static_cast<int>(head_offset(t))) + " cm, queue dans le canton " +
        std::to_string(tail_canton(t)));
  }
  if (!any) say("aucun train sur le réseau");
  for (int n = 0; n < kTurnouts; ++n) {
    if (position_[static_cast<size_t>(n)] < 0) continue;
    say("aiguillage " + std::to_string(n) + " : position " +
        std::to_string(position_[static_cast<size_t>(n)]));
  }
}

void VirtualLayout::write_inputs(CardBank& bank) const {
  for (int slot = 0; slot < kCantons; ++slot) {
    const int card = slot / kDetPerCard;
    if (!track_.used[static_cast<size_t>(slot)] || !bank.present(card)) continue;
    const bool detected = occupied(slot) != track_.det_inverted[static_cast<size_t>(slot)];
    bank.card_inputs(card).det[static_cast<size_t>(slot % kDetPerCard)] = detected ? 1 : 0;
  }
  for (int n = 0; n < kTurnouts; ++n) {
    const TurnoutMotor& motor = track_.turnouts[static_cast<size_t>(n)];
    for (size_t p = 0; p < 2; ++p) {
      const int input = motor.verif_input[p];
      if (input < 0 || !bank.present(input / kInPerCard)) continue;
      const bool there = position_[static_cast<size_t>(n)] == static_cast<int>(p);
      const int value = there ? motor.verif_value[p] : 1 - motor.verif_value[p];
      bank.card_inputs(input / kInPerCard).in[static_cast<size_t>(input % kInPerCard)] =
          static_cast<uint8_t>(value);
    }
  }
}

void VirtualLayout::connect(CardBank& bank, std::function<double()> now_ms) {
  clock_ = std::move(now_ms);
  bank.on_frame = [this, &bank](int card, const std::array<uint8_t, kCommandBytes>& frame) {
    if (clock_) {
      const double now = clock_();
      if (last_frame_ms_ >= 0) advance(now - last_frame_ms_);
      last_frame_ms_ = now;
    }
    command_frame(card, frame.data());
    write_inputs(bank);
  };
  write_inputs(bank);
}

bool VirtualLayout::command(const std::vector<std::string>& words, std::string& error) {
  error.clear();
  if (words.empty()) return false;
  const std::string& verb = words[0];
  int32_t t = -1;
  if (verb == "status") {
    if (words.size() != 1) error = "attendu : status";
    if (error.empty()) status();
    return true;
  }
  if (verb == "remove") {
    if (words.size() != 2 || !parse_digits(words[1], t, 0, kTrainEntries - 1)) {
      error = "attendu : remove TRAIN (0 à 31)";
    } else {
      error = remove(t);
    }
    return true;
  }
  if (verb != "place") return false;
  int32_t canton = -1;
  int32_t offset = -1;
  if (words.size() < 3 || words.size() > 4 || !parse_digits(words[1], t, 0, kTrainEntries - 1) ||
      !parse_digits(words[2], canton, 0, 315) || canton_slot(canton) < 0 ||
      (words.size() == 4 && !parse_digits(words[3], offset, 0, kMaxCantonCm))) {
    error = "attendu : place TRAIN CANTON [POSITION_CM]";
    return true;
  }
  error = place(t, canton_slot(canton), offset);
  return true;
}
