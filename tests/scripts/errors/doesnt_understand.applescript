call method "noSuchMethod:" with parameter 1
-- expect runtime error: -1708 line 1: application doesn't understand the "noSuchMethod:" message.
