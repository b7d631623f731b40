considering white space
end considering
-- expect error: -2741 line 1: Expected "case" but found "white".
