"""The picture on the screen: every key outline where the built-in layout
puts it (the program's own keyboard model tells where), at the design size
and stretched to 790 x 271, in scheme 1."""

import unittest

from lumae2e import DESIGN_H, DESIGN_W, SessionTestCase, also_32bit, poll, scale

REST_BORDER = "#7AA0DA"  # scheme 1


def border_points(layout, width, height):
    """(what, x, y) client points that lie on a key border at this client
    size: the middle of each side of every key of the layout."""
    sx = lambda v: scale(v, width, layout.width)  # noqa: E731
    sy = lambda v: scale(v, height, layout.height)  # noqa: E731
    points = []
    for x1, y1, x2, y2 in sorted(set(layout.rects())):
        what = f"key {x1},{y1}..{x2},{y2}"
        mid_x, mid_y = (sx(x1) + sx(x2)) // 2, (sy(y1) + sy(y2)) // 2
        points += [(f"{what}, left", sx(x1), mid_y), (f"{what}, right", sx(x2), mid_y),
                   (f"{what}, top", mid_x, sy(y1)), (f"{what}, bottom", mid_x, sy(y2))]
    return points


def inner_points(width, height):
    """Client points inside blank areas: the space bar's face and the keyboard
    background above the slider."""
    sx = lambda v: scale(v, width, DESIGN_W)  # noqa: E731
    sy = lambda v: scale(v, height, DESIGN_H)  # noqa: E731
    return [("space bar face", sx(120), sy(165)), ("space bar face", sx(250), sy(170)),
            ("background", sx(410), sy(150) + 3)]


class DrawingTest(SessionTestCase):
    fresh_lumatype = True  # every test starts from the start-up size

    def wrong_pixels(self, win, image):
        w, h = win["client_w"], win["client_h"]
        ox, oy = self.session.x_client_origin(win)
        wrong = [f"{what} at ({x},{y}): {image.pixel(ox + x, oy + y)}"
                 for what, x, y in border_points(self.session.key_model.layout(), w, h)
                 if image.pixel(ox + x, oy + y) != REST_BORDER]
        wrong += [f"{what} at ({x},{y}) has the border color"
                  for what, x, y in inner_points(w, h)
                  if image.pixel(ox + x, oy + y) == REST_BORDER]
        return wrong

    def check_picture(self, name, size):
        """Screenshots until the window shows the keyboard at this client
        size with every key at rest, or the time is up; then compares."""
        s = self.session
        s.park_pointer()

        def shot():
            win, image = self.session.shoot(name)
            if (win["client_w"], win["client_h"]) != size:
                return win, image, [f"client size {win['client_w']} x {win['client_h']}"]
            return win, image, self.wrong_pixels(win, image)

        win, image, wrong = poll(shot, lambda result: not result[2], 20, interval=0.5)
        self.assertEqual(wrong, [], f"{len(wrong)} pixels are wrong (border {REST_BORDER})")
        return win, image

    def test_design_size(self):
        win = self.session.window()
        self.assertEqual((win["client_w"], win["client_h"]), (DESIGN_W, DESIGN_H))
        self.check_picture("screen-441x181", (DESIGN_W, DESIGN_H))

    @also_32bit
    def test_stretched_to_790x271(self):
        s = self.session
        s.probe("set-client-size", 790, 271)
        s.probe("move", 100, 100)
        win, image = self.check_picture("screen-790x271", (790, 271))
        self.assertEqual((win["client_x"] + win["client_w"] <= image.width,
                          win["client_y"] + win["client_h"] <= image.height), (True, True),
                         "the window is not fully on the screen")

    def test_tiny_window_then_back(self):
        # Font sizes at or below zero points: the program must survive a
        # window too small for any label and draw right when it grows again.
        s = self.session
        s.probe("set-client-size", 24, 10)
        win = poll(s.window, lambda w: w["client_w"] <= 120, 10)
        self.assertLessEqual(win["client_w"], 120, f"client not shrunk: {win}")
        self.session.shoot("screen-tiny")
        s.probe("set-client-size", DESIGN_W, DESIGN_H)
        self.check_picture("screen-441x181-again", (DESIGN_W, DESIGN_H))


if __name__ == "__main__":
    unittest.main()
